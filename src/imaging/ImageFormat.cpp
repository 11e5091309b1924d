#include "ImageFormat.h"

#include "ImageProperties.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace korvex::imageformat {

int typeFromExtension(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == u"jpg" || ext == u"jpeg" || ext == u"jpe" || ext == u"jfif")
        return iftJPEG;
    if (ext == u"png")
        return iftPNG;
    if (ext == u"bmp" || ext == u"dib")
        return iftBMP;
    if (ext == u"tif" || ext == u"tiff")
        return iftTIFF;
    if (ext == u"gif")
        return iftGIF;
    if (ext == u"pcx")
        return iftPCX;
    if (ext == u"ico")
        return iftICO;
    if (ext == u"cur")
        return iftCUR;
    if (ext == u"wmf")
        return iftWMF;
    if (ext == u"emf")
        return iftEMF;
    return iftNone;
}

int typeFromContent(const QByteArray& head) {
    const auto u = [&](int i) { return i < head.size() ? uchar(head[i]) : 0x100; };
    if (u(0) == 0xFF && u(1) == 0xD8 && u(2) == 0xFF)
        return iftJPEG;
    if (head.startsWith("\x89PNG\r\n\x1a\n"))
        return iftPNG;
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        return iftGIF;
    if (head.startsWith("II*\0") || head.startsWith(QByteArray("MM\0*", 4)))
        return iftTIFF;
    if (head.startsWith("BM") && head.size() >= 30)
        return iftBMP;
    // Icon and cursor directories: reserved 0, type 1 or 2, at least one entry.
    if (head.size() >= 22 && u(0) == 0 && u(1) == 0 && u(3) == 0 && (u(4) | u(5)) != 0) {
        if (u(2) == 1)
            return iftICO;
        if (u(2) == 2)
            return iftCUR;
    }
    // PCX: manufacturer 10, a known version, run-length encoding 1, 1/2/4/8 bits per plane.
    if (head.size() >= 128 && u(0) == 10 && u(1) <= 5 && u(2) == 1 &&
        (u(3) == 1 || u(3) == 2 || u(3) == 4 || u(3) == 8))
        return iftPCX;
    return iftNone;
}

bool isJpegPath(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    return ext == u"jpg" || ext == u"jpeg" || ext == u"jpe";
}

bool matchesMasks(const QString& path, const QString& masks) {
    const QString name = QFileInfo(path).fileName();
    for (const QString& mask : masks.split(u';', Qt::SkipEmptyParts)) {
        const QString pattern = QRegularExpression::wildcardToRegularExpression(mask.trimmed());
        if (QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption)
                .match(name)
                .hasMatch())
            return true;
    }
    return false;
}

void checkPictureSize(int width, int height, int bytesPerPixel) {
    constexpr qint64 kLimit = qint64(1) << 30;
    if (width < 1 || height < 1 || qint64(width) * height * bytesPerPixel > kLimit)
        throw EIEFunctionError(
            QStringLiteral("Picture too large to load (%1 x %2)").arg(width).arg(height));
}

static void openForRead(QFile& file) {
    if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return;
    if (!file.exists())
        throw EIEFunctionError(QStringLiteral("File not found: %1").arg(file.fileName()));
    throw EIEFunctionError(
        QStringLiteral("Cannot read %1: %2").arg(file.fileName(), file.errorString()));
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    openForRead(file);
    // A pipe or device reports only what is buffered so far; read it to its end instead.
    if (file.isSequential())
        return file.readAll();
    QByteArray bytes(qsizetype(file.size()), Qt::Uninitialized);
    const qint64 got = file.read(bytes.data(), bytes.size());
    if (got < 0)
        throw EIEFunctionError(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    bytes.truncate(qsizetype(got));
    return bytes;
}

QByteArray readHead(const QString& path, qint64 bytes) {
    QFile file(path);
    openForRead(file);
    return file.read(bytes);
}

} // namespace korvex::imageformat
