#pragma once

#include <QByteArray>
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

// The whole file in one read, or EIEFunctionError with a text a user can act on. (Read, not
// mapped: a mapped picture on a card pulled out mid-read would end the program with SIGBUS.)
QByteArray readFile(const QString& path);

// At most `bytes` from the start of the file.
QByteArray readHead(const QString& path, qint64 bytes);

} // namespace imageformat
} // namespace korvex
