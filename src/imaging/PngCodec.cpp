#include "PngCodec.h"

#include "ImageFormat.h"

#include <png.h>
#include <vector>

namespace korvex::png {

namespace {

struct ImageGuard {
    png_image image{};
    ImageGuard() { image.version = PNG_IMAGE_VERSION; }
    ~ImageGuard() { png_image_free(&image); }
    [[noreturn]] void fail() const { throw EIEFunctionError(QString::fromUtf8(image.message)); }
};

quint32 bigEndian32(const QByteArray& data, int at) {
    return (quint32(uchar(data[at])) << 24) | (quint32(uchar(data[at + 1])) << 16) |
           (quint32(uchar(data[at + 2])) << 8) | quint32(uchar(data[at + 3]));
}

} // namespace

Header readHeader(const QByteArray& head) {
    if (head.size() < 29 || !head.startsWith("\x89PNG\r\n\x1a\n") || head.mid(12, 4) != "IHDR")
        throw EIEFunctionError(QStringLiteral("Not a PNG file"));
    Header h;
    h.width = int(bigEndian32(head, 16));
    h.height = int(bigEndian32(head, 20));
    const int depth = uchar(head[24]);
    int channels = 0;
    switch (uchar(head[25])) {
    case 0: // grey
    case 3: // palette
        channels = 1;
        break;
    case 2:
        channels = 3;
        break;
    case 4:
        channels = 2;
        break;
    case 6:
        channels = 4;
        break;
    default:
        throw EIEFunctionError(QStringLiteral("Invalid PNG colour type"));
    }
    if (h.width < 1 || h.height < 1)
        throw EIEFunctionError(QStringLiteral("Invalid PNG dimensions"));
    h.bitsPerPixel = depth * channels;
    return h;
}

QImage decode(const QByteArray& data) {
    ImageGuard guard;
    png_image& image = guard.image;
    if (!png_image_begin_read_from_memory(&image, data.constData(), size_t(data.size())))
        guard.fail();
    const bool alpha = image.format & PNG_FORMAT_FLAG_ALPHA;
    const bool grey = !(image.format & PNG_FORMAT_FLAG_COLOR) && !alpha &&
                      !(image.format & PNG_FORMAT_FLAG_COLORMAP);
    imageformat::checkPictureSize(int(qMin(image.width, 1u << 30)),
                                  int(qMin(image.height, 1u << 30)), 4);
    image.format = grey ? PNG_FORMAT_GRAY : PNG_FORMAT_BGRA;
    QImage result(int(image.width), int(image.height),
                  grey    ? QImage::Format_Grayscale8
                  : alpha ? QImage::Format_ARGB32
                          : QImage::Format_RGB32);
    if (result.isNull())
        throw EIEFunctionError(QStringLiteral("Not enough memory for a %1 x %2 picture")
                                   .arg(image.width)
                                   .arg(image.height));
    if (!png_image_finish_read(&image, nullptr, result.bits(), png_int_32(result.bytesPerLine()),
                               nullptr))
        guard.fail();
    return result;
}

QByteArray encode(const QImage& source) {
    if (source.isNull())
        throw EIEFunctionError(QStringLiteral("No picture to save"));
    ImageGuard guard;
    png_image& image = guard.image;
    image.width = png_uint_32(source.width());
    image.height = png_uint_32(source.height());
    QImage pixels;
    std::vector<uchar> colormap;
    if (source.format() == QImage::Format_Indexed8 && source.colorCount() > 0) {
        pixels = source;
        image.format = PNG_FORMAT_RGB_COLORMAP;
        image.colormap_entries = png_uint_32(source.colorCount());
        for (QRgb rgb : source.colorTable())
            colormap.insert(colormap.end(),
                            {uchar(qRed(rgb)), uchar(qGreen(rgb)), uchar(qBlue(rgb))});
    } else if (source.format() == QImage::Format_Grayscale8) {
        pixels = source;
        image.format = PNG_FORMAT_GRAY;
    } else if (source.hasAlphaChannel()) {
        pixels = source.convertToFormat(QImage::Format_ARGB32);
        image.format = PNG_FORMAT_BGRA;
    } else {
        pixels = source.convertToFormat(QImage::Format_RGB888);
        image.format = PNG_FORMAT_RGB;
    }
    const auto stride = png_int_32(pixels.bytesPerLine());
    png_alloc_size_t size = 0;
    const void* map = colormap.empty() ? nullptr : colormap.data();
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.constBits(), stride, map))
        guard.fail();
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.constBits(), stride, map))
        guard.fail();
    out.truncate(qsizetype(size));
    return out;
}

} // namespace korvex::png
