#include "PictureWriter.h"

#include "ImageFormat.h"
#include "ImageProperties.h"
#include "JpegCodec.h"
#include "PngCodec.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace korvex::picture {

QByteArray encode(const QImage& image, int fileType, int quality, const QByteArray& jpegMetadata) {
    if (image.isNull())
        throw EIEFunctionError(QStringLiteral("No picture to save"));
    QByteArray qtFormat;
    switch (fileType) {
    case iftJPEG:
        return jpeg::encode(image, quality, jpegMetadata);
    case iftPNG:
        return png::encode(image);
    case iftBMP:
        qtFormat = "bmp";
        break;
    case iftTIFF:
        qtFormat = "tiff";
        break;
    case iftICO:
        qtFormat = "ico";
        break;
    default:
        throw EIEFunctionError(QStringLiteral("Save Error"));
    }
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, qtFormat);
    if (!writer.write(image))
        throw EIEFunctionError(writer.errorString());
    return out;
}

void writeFileSafely(const QString& path, const QByteArray& data) {
    if (data.isEmpty())
        throw EIEFunctionError(QStringLiteral("Nothing was written to %1").arg(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw EIEFunctionError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    if (file.write(data) != data.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        throw EIEFunctionError(QStringLiteral("Cannot write %1: %2").arg(path, error));
    }
    if (!file.commit())
        throw EIEFunctionError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    if (QFileInfo(path).size() != data.size())
        throw EIEFunctionError(QStringLiteral("%1 was not written in full").arg(path));
}

} // namespace korvex::picture
