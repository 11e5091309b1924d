#include "TestPictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <exiv2/exiv2.hpp>
#include <jpeglib.h>

namespace korvex::test {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void errorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

quint32 xorshift(quint32& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

QImage photoPattern(int width, int height, quint32 seed) {
    QImage image(width, height, QImage::Format_RGB32);
    quint32 state = seed * 2654435761u + 1;
    const double fx = 6.0 / width;
    const double fy = 4.0 / height;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double sy = std::sin(y * fy + seed);
        for (int x = 0; x < width; ++x) {
            // Soft light, a few hard edges and sensor noise, like a real scene.
            const double light = 0.5 + 0.35 * std::sin(x * fx) * sy;
            const bool edge = ((x / 97) ^ (y / 61)) & 1;
            const int noise = int(xorshift(state) & 15) - 8;
            const int base = int(light * 200) + (edge ? 30 : 0);
            line[x] = qRgb(std::clamp(base + noise + 20, 0, 255),
                           std::clamp(base + noise - (x * 40 / width), 0, 255),
                           std::clamp(base / 2 + noise + (y * 60 / height), 0, 255));
        }
    }
    return image;
}

QByteArray exifBlock(const JpegRecipe& recipe) {
    Exiv2::ExifData exif;
    exif["Exif.Image.Make"] = "Corvanta Optics";
    exif["Exif.Image.Model"] = "CX-24";
    exif["Exif.Image.Orientation"] = uint16_t(1);
    exif["Exif.Image.XResolution"] = Exiv2::URational(72, 1);
    exif["Exif.Image.YResolution"] = Exiv2::URational(72, 1);
    exif["Exif.Image.ResolutionUnit"] = uint16_t(2);
    exif["Exif.Image.DateTime"] = recipe.dateTime.toStdString();
    exif["Exif.Photo.DateTimeOriginal"] = recipe.dateTime.toStdString();
    exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 250);
    exif["Exif.Photo.FNumber"] = Exiv2::URational(28, 10);
    exif["Exif.Photo.ISOSpeedRatings"] = uint16_t(200);
    exif["Exif.Photo.FocalLength"] = Exiv2::URational(35, 1);
    exif["Exif.Photo.PixelXDimension"] = uint32_t(recipe.width);
    exif["Exif.Photo.PixelYDimension"] = uint32_t(recipe.height);
    if (recipe.exifThumbnail) {
        JpegRecipe thumb;
        thumb.width = 160;
        thumb.height = 120;
        thumb.quality = 80;
        thumb.seed = recipe.seed;
        const QByteArray data = makeJpeg(thumb);
        Exiv2::ExifThumb(exif).setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(data.data()),
                                                long(data.size()));
    }
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, Exiv2::littleEndian, exif);
    return QByteArray("Exif\0\0", 6) +
           QByteArray(reinterpret_cast<const char*>(blob.data()), qsizetype(blob.size()));
}

QByteArray encodePcx(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int bytesPerLine = (image.width() + 1) & ~1;
    QByteArray out(128, 0);
    out[0] = 10;
    out[1] = 5;
    out[2] = 1;
    out[3] = 8;
    qToLittleEndian<quint16>(quint16(image.width() - 1), out.data() + 8);
    qToLittleEndian<quint16>(quint16(image.height() - 1), out.data() + 10);
    out[65] = 3;
    qToLittleEndian<quint16>(quint16(bytesPerLine), out.data() + 66);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int plane = 0; plane < 3; ++plane) {
            for (int x = 0; x < bytesPerLine;) {
                const auto sample = [&](int at) {
                    const QRgb p = line[std::min(at, image.width() - 1)];
                    return uchar(plane == 0 ? qRed(p) : plane == 1 ? qGreen(p) : qBlue(p));
                };
                const uchar v = sample(x);
                int run = 1;
                while (x + run < bytesPerLine && run < 63 && sample(x + run) == v)
                    ++run;
                if (run > 1 || (v & 0xC0) == 0xC0)
                    out += char(0xC0 | run);
                out += char(v);
                x += run;
            }
        }
    }
    return out;
}

} // namespace

QImage patternImage(const JpegRecipe& recipe) {
    if (recipe.photo)
        return photoPattern(recipe.width, recipe.height, recipe.seed);
    QImage image(recipe.width, recipe.height, QImage::Format_RGB32);
    for (int y = 0; y < recipe.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < recipe.width; ++x)
            line[x] =
                qRgb(x * 255 / std::max(1, recipe.width - 1),
                     y * 255 / std::max(1, recipe.height - 1), int((x + y + recipe.seed) % 256));
    }
    // A dark block in the top-left quarter shows orientation and cut position at a glance.
    QPainter painter(&image);
    painter.fillRect(QRect(recipe.width / 8, recipe.height / 8, std::max(1, recipe.width / 4),
                           std::max(1, recipe.height / 4)),
                     Qt::black);
    return image;
}

QByteArray makeJpeg(const JpegRecipe& recipe) {
    const QImage image = patternImage(recipe);
    jpeg_compress_struct cinfo{};
    ErrorManager errors{};
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = errorExit;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    QByteArray exif;
    if (recipe.exif)
        exif = exifBlock(recipe);
    const int components = recipe.color == JpegRecipe::Color::Grey   ? 1
                           : recipe.color == JpegRecipe::Color::CMYK ? 4
                                                                     : 3;
    std::vector<JSAMPLE> row(size_t(recipe.width) * size_t(components));
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        free(buffer);
        return {};
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(recipe.width);
    cinfo.image_height = JDIMENSION(recipe.height);
    switch (recipe.color) {
    case JpegRecipe::Color::RGB:
        cinfo.in_color_space = JCS_RGB;
        cinfo.input_components = 3;
        break;
    case JpegRecipe::Color::Grey:
        cinfo.in_color_space = JCS_GRAYSCALE;
        cinfo.input_components = 1;
        break;
    case JpegRecipe::Color::CMYK:
        cinfo.in_color_space = JCS_CMYK;
        cinfo.input_components = 4;
        break;
    }
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, recipe.quality, TRUE);
    // CMYK files carry every channel at full resolution, as the applications writing them do.
    const bool fullResolution = recipe.color != JpegRecipe::Color::RGB;
    cinfo.comp_info[0].h_samp_factor = fullResolution ? 1 : recipe.hSampling;
    cinfo.comp_info[0].v_samp_factor = fullResolution ? 1 : recipe.vSampling;
    cinfo.restart_interval = unsigned(recipe.restartInterval);
    if (recipe.progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    if (!exif.isEmpty())
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(exif.data()),
                          unsigned(exif.size()));
    if (!recipe.comment.isEmpty()) {
        const QByteArray text = recipe.comment.toUtf8();
        jpeg_write_marker(&cinfo, JPEG_COM, reinterpret_cast<const JOCTET*>(text.data()),
                          unsigned(text.size()));
    }
    while (cinfo.next_scanline < cinfo.image_height) {
        const auto* in =
            reinterpret_cast<const QRgb*>(image.constScanLine(int(cinfo.next_scanline)));
        JSAMPLE* out = row.data();
        for (int x = 0; x < recipe.width; ++x) {
            const QRgb p = in[x];
            switch (recipe.color) {
            case JpegRecipe::Color::RGB:
                *out++ = JSAMPLE(qRed(p));
                *out++ = JSAMPLE(qGreen(p));
                *out++ = JSAMPLE(qBlue(p));
                break;
            case JpegRecipe::Color::Grey:
                *out++ = JSAMPLE(qGray(p));
                break;
            case JpegRecipe::Color::CMYK: // inverted, as Adobe applications store it
                *out++ = JSAMPLE(qRed(p));
                *out++ = JSAMPLE(qGreen(p));
                *out++ = JSAMPLE(qBlue(p));
                *out++ = 255;
                break;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray result(reinterpret_cast<const char*>(buffer), qsizetype(size));
    free(buffer);
    return result;
}

QString writeFile(const QString& dir, const QString& name, const QByteArray& data) {
    const QString path = QDir(dir).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        return {};
    return path;
}

QString writeJpeg(const QString& dir, const QString& name, const JpegRecipe& recipe) {
    return writeFile(dir, name, makeJpeg(recipe));
}

QByteArray encodeImage(const QImage& image, const char* format) {
    if (qstrcmp(format, "pcx") == 0)
        return encodePcx(image);
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.write(image);
    return out;
}

} // namespace korvex::test
