#include "ExifData.h"

#include "ImageFormat.h"
#include "support/DebugLog.h"

#include <exiv2/exiv2.hpp>

namespace korvex {

namespace {

// The payload of the first "Exif" APP1 segment, from its TIFF header on.
QByteArray exifPayload(const QByteArray& data) {
    qsizetype pos = 2;
    const auto at = [&](qsizetype i) { return uchar(data[i]); };
    if (data.size() < 4 || at(0) != 0xFF || at(1) != 0xD8)
        return {};
    while (pos + 4 <= data.size() && at(pos) == 0xFF) {
        const uchar marker = at(pos + 1);
        const qsizetype length = (at(pos + 2) << 8) | at(pos + 3);
        if (marker == 0xDA || length < 2 || pos + 2 + length > data.size())
            break;
        if (marker == 0xE1 && length > 8 && data.mid(pos + 4, 6) == QByteArray("Exif\0\0", 6))
            return data.mid(pos + 10, length - 8);
        pos += 2 + length;
    }
    return {};
}

class Reader {
public:
    explicit Reader(const Exiv2::ExifData& exif) : m_exif(exif) {}

    QString text(const char* key) const {
        const auto it = m_exif.findKey(Exiv2::ExifKey(key));
        if (it == m_exif.end() || it->count() == 0)
            return {};
        QString s;
        if (it->typeId() == Exiv2::undefined) {
            for (long i = 0; i < it->count(); ++i)
                s += QChar(char(it->toLong(i)));
        } else {
            s = QString::fromStdString(it->toString());
        }
        while (s.endsWith(QChar(0)))
            s.chop(1);
        return s.trimmed();
    }
    double number(const char* key) const {
        const auto it = m_exif.findKey(Exiv2::ExifKey(key));
        if (it == m_exif.end() || it->count() == 0)
            return 0.0;
        const Exiv2::Rational r = it->toRational();
        return r.second == 0 ? 0.0 : double(r.first) / r.second;
    }
    int integer(const char* key) const {
        const auto it = m_exif.findKey(Exiv2::ExifKey(key));
        return it == m_exif.end() || it->count() == 0 ? 0 : int(it->toLong());
    }

private:
    const Exiv2::ExifData& m_exif;
};

} // namespace

TExifData ReadExifData(const QString& path) {
    try {
        return ParseExifData(imageformat::readHead(path, 70 * 1024));
    } catch (const std::exception& e) {
        DebugLog(QStringLiteral("ReadExifData"), QStringLiteral("Error: ") + e.what());
        return TExifData{};
    }
}

TExifData ParseExifData(const QByteArray& jpegHead) {
    // exiv2 writes its warnings about damaged blocks to stderr; a damaged block is simply
    // read as far as it goes.
    static const bool muted = [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        return true;
    }();
    Q_UNUSED(muted);
    TExifData d;
    try {
        const QByteArray payload = exifPayload(jpegHead);
        if (payload.isEmpty())
            return d;
        Exiv2::ExifData exif;
        Exiv2::ExifParser::decode(exif, reinterpret_cast<const Exiv2::byte*>(payload.constData()),
                                  uint32_t(payload.size()));
        if (exif.empty())
            return d;
        const Reader r(exif);
        d.HasExif = true;
        d.ImageDescription = r.text("Exif.Image.ImageDescription");
        d.Make = r.text("Exif.Image.Make");
        d.Model = r.text("Exif.Image.Model");
        d.Software = r.text("Exif.Image.Software");
        d.Copyright = r.text("Exif.Image.Copyright");
        d.RelatedSoundFile = r.text("Exif.Photo.RelatedSoundFile");
        d.DateTime = r.text("Exif.Image.DateTime");
        d.SubSecTime = r.text("Exif.Photo.SubSecTime");
        d.DateTimeOriginal = r.text("Exif.Photo.DateTimeOriginal");
        d.SubSecTimeOriginal = r.text("Exif.Photo.SubSecTimeOriginal");
        d.DateTimeDigitized = r.text("Exif.Photo.DateTimeDigitized");
        d.SubSecTimeDigitized = r.text("Exif.Photo.SubSecTimeDigitized");
        d.ExifVersion = r.text("Exif.Photo.ExifVersion");
        d.FlashPixVersion = r.text("Exif.Photo.FlashpixVersion");
        d.XResolution = r.number("Exif.Image.XResolution");
        d.YResolution = r.number("Exif.Image.YResolution");
        d.ResolutionUnit = r.integer("Exif.Image.ResolutionUnit");
        d.ExposureTime = r.number("Exif.Photo.ExposureTime");
        d.FNumber = r.number("Exif.Photo.FNumber");
        d.ExposureProgram = r.integer("Exif.Photo.ExposureProgram");
        d.ShutterSpeedValue = r.number("Exif.Photo.ShutterSpeedValue");
        d.ApertureValue = r.number("Exif.Photo.ApertureValue");
        d.BrightnessValue = r.number("Exif.Photo.BrightnessValue");
        d.ExposureBiasValue = r.number("Exif.Photo.ExposureBiasValue");
        d.MaxApertureValue = r.number("Exif.Photo.MaxApertureValue");
        d.SubjectDistance = r.number("Exif.Photo.SubjectDistance");
        d.MeteringMode = r.integer("Exif.Photo.MeteringMode");
        d.LightSource = r.integer("Exif.Photo.LightSource");
        d.Flash = r.integer("Exif.Photo.Flash");
        d.FocalLength = r.number("Exif.Photo.FocalLength");
        d.Orientation = r.integer("Exif.Image.Orientation");
        d.ColorSpace = r.integer("Exif.Photo.ColorSpace");
        d.PixelXDimension = r.integer("Exif.Photo.PixelXDimension");
        d.PixelYDimension = r.integer("Exif.Photo.PixelYDimension");
        d.FocalPlaneXResolution = r.number("Exif.Photo.FocalPlaneXResolution");
        d.FocalPlaneYResolution = r.number("Exif.Photo.FocalPlaneYResolution");
        d.FocalPlaneResolutionUnit = r.integer("Exif.Photo.FocalPlaneResolutionUnit");
        d.ExposureIndex = r.number("Exif.Photo.ExposureIndex");
        d.SensingMethod = r.integer("Exif.Photo.SensingMethod");
        d.FileSource = r.integer("Exif.Photo.FileSource");
        d.SceneType = r.integer("Exif.Photo.SceneType");
        d.YCbCrPositioning = r.integer("Exif.Image.YCbCrPositioning");
    } catch (const std::exception& e) {
        DebugLog(QStringLiteral("ParseExifData"), QStringLiteral("Error: ") + e.what());
        return TExifData{};
    }
    return d;
}

} // namespace korvex
