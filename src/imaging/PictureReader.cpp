#include "PictureReader.h"

#include "ImageFormat.h"
#include "JpegCodec.h"
#include "PcxReader.h"
#include "PngCodec.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace korvex::picture {

namespace {

QByteArray qtFormatName(int fileType) {
    switch (fileType) {
    case iftTIFF:
        return "tiff";
    case iftGIF:
        return "gif";
    case iftBMP:
        return "bmp";
    case iftICO:
        return "ico";
    case iftCUR:
        return "cur";
    default:
        return {};
    }
}

int depthOf(QImage::Format format) {
    switch (format) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return 1;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Alpha8:
        return 8;
    case QImage::Format_RGB16:
    case QImage::Format_RGB555:
    case QImage::Format_RGB444:
    case QImage::Format_Grayscale16:
        return 16;
    case QImage::Format_RGB32:
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
        return 24;
    case QImage::Format_Invalid:
        return 0;
    default:
        return 32;
    }
}

template <typename T> T le(const QByteArray& data, int at) {
    return qFromLittleEndian<T>(data.constData() + at);
}

TImageProperties headerProperties(const QString& path, int fileType, const QByteArray& head) {
    TImageProperties p;
    p.FileType = fileType;
    switch (fileType) {
    case iftJPEG: {
        jpeg::Header h;
        try {
            h = jpeg::readHeader(head);
        } catch (const EIEFunctionError&) {
            // Large APP segments can push the frame header past the first block we read.
            h = jpeg::readHeader(imageformat::readFile(path));
        }
        p.Width = h.width;
        p.Height = h.height;
        p.BitsPerPixel = h.bitsPerPixel();
        break;
    }
    case iftPNG: {
        const png::Header h = png::readHeader(head);
        p.Width = h.width;
        p.Height = h.height;
        p.BitsPerPixel = h.bitsPerPixel;
        break;
    }
    case iftBMP: {
        if (head.size() < 30)
            throw EIEFunctionError(QStringLiteral("Bitmap header cut short"));
        if (le<quint32>(head, 14) == 12) { // OS/2 core header
            p.Width = le<quint16>(head, 18);
            p.Height = le<quint16>(head, 20);
            p.BitsPerPixel = le<quint16>(head, 24);
        } else {
            p.Width = le<qint32>(head, 18);
            p.Height = qAbs(le<qint32>(head, 22));
            p.BitsPerPixel = le<quint16>(head, 28);
        }
        break;
    }
    case iftGIF: {
        if (head.size() < 13)
            throw EIEFunctionError(QStringLiteral("GIF header cut short"));
        p.Width = le<quint16>(head, 6);
        p.Height = le<quint16>(head, 8);
        const uchar packed = uchar(head[10]);
        p.BitsPerPixel = (packed & 0x80) ? (packed & 7) + 1 : 8;
        break;
    }
    case iftPCX: {
        const pcx::Header h = pcx::readHeader(head);
        p.Width = h.width;
        p.Height = h.height;
        p.BitsPerPixel = h.bitsPerPixel;
        break;
    }
    case iftTIFF:
    case iftICO:
    case iftCUR: {
        QImageReader reader(path, qtFormatName(fileType));
        reader.setDecideFormatFromContent(false);
        const QSize size = reader.size();
        if (!size.isValid())
            throw EIEFunctionError(reader.errorString());
        p.Width = size.width();
        p.Height = size.height();
        p.BitsPerPixel = depthOf(reader.imageFormat());
        break;
    }
    default:
        throw EIEFunctionError(QStringLiteral("Unknown file format"));
    }
    if (p.Width < 1 || p.Height < 1)
        throw EIEFunctionError(QStringLiteral("Invalid picture dimensions"));
    if (p.BitsPerPixel == 15)
        p.BitsPerPixel = 16;
    p.FileTypeName = FileTypeName(p.FileType);
    p.ColorsName = ColorsName(p.BitsPerPixel);
    return p;
}

} // namespace

Decoded decode(const QByteArray& data, int fileType, QSize wanted) {
    Decoded result;
    result.fileType = fileType;
    switch (fileType) {
    case iftJPEG: {
        jpeg::Decoded d = jpeg::decode(data, wanted);
        result.image = std::move(d.image);
        result.fullSize = QSize(d.header.width, d.header.height);
        result.jpegMetadata = jpeg::metadataSegments(data);
        break;
    }
    case iftPNG:
        result.image = png::decode(data);
        break;
    case iftPCX:
        result.image = pcx::decode(data);
        break;
    case iftTIFF:
    case iftGIF:
    case iftBMP:
    case iftICO:
    case iftCUR: {
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, qtFormatName(fileType));
        reader.setDecideFormatFromContent(false);
        if (!reader.read(&result.image))
            throw EIEFunctionError(reader.errorString());
        break;
    }
    default:
        throw EIEFunctionError(QStringLiteral("Unknown Extension"));
    }
    if (result.fullSize.isEmpty())
        result.fullSize = result.image.size();
    return result;
}

Decoded decodeByContent(const QByteArray& data, QSize wanted) {
    const int type = imageformat::typeFromContent(data.left(128));
    if (type == iftNone)
        throw EIEFunctionError(QStringLiteral("Unknown file format"));
    return decode(data, type, wanted);
}

Decoded load(const QString& path, QSize wanted) {
    const int type = imageformat::typeFromExtension(path);
    if (type == iftNone)
        throw EIEFunctionError(QStringLiteral("Unknown Extension"));
    return decode(imageformat::readFile(path), type, wanted);
}

TImageProperties readProperties(const QString& path) {
    const QByteArray head = imageformat::readHead(path, 128 * 1024);
    return headerProperties(path, imageformat::typeFromContent(head), head);
}

} // namespace korvex::picture
