#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <stdexcept>

namespace korvex {

// Raised inside the picture engine; every public operation turns it into a false result.
class EIEFunctionError : public std::runtime_error {
public:
    explicit EIEFunctionError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

namespace imageformat {

// The file type code (TImageFileType) a path's extension stands for, iftNone when unknown.
int typeFromExtension(const QString& path);

// The file type the first bytes of a file show, iftNone when no reader here knows them.
int typeFromContent(const QByteArray& head);

// ".jpg", ".jpeg" and ".jpe" in any case.
bool isJpegPath(const QString& path);

// True when the file name matches one of the ";"-separated wildcard masks ("*.XXX;").
bool matchesMasks(const QString& path, const QString& masks);

// Refuses pictures whose pixels would take more than 1 GiB (some 268 megapixels): a damaged
// header must not make the program claim gigabytes before the data runs out.
void checkPictureSize(int width, int height, int bytesPerPixel);

// A whole file's bytes, mapped rather than copied where the system allows: a camera picture
// is then read without claiming, zeroing and filling megabytes of memory first. The bytes are
// valid while this object lives. Opening throws EIEFunctionError with a text a user can act on.
class FileBytes {
public:
    explicit FileBytes(const QString& path);
    const QByteArray& bytes() const { return m_bytes; }

private:
    QFile m_file;
    QByteArray m_bytes;
};

// At most `bytes` from the start of the file.
QByteArray readHead(const QString& path, qint64 bytes);

} // namespace imageformat
} // namespace korvex
