#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Picture fixtures made on the fly, with the encoder settings a test needs to control. Shared by
// the imaging tests, the thumbnail tests and the benchmark test-set generator.
namespace korvex::test {

struct JpegRecipe {
    int width = 64;
    int height = 48;
    int quality = 90;
    enum class Color { RGB, Grey, CMYK } color = Color::RGB;
    // Luma sampling factors: 2x2 is 4:2:0, 2x1 is 4:2:2, 1x1 is 4:4:4.
    int hSampling = 2;
    int vSampling = 2;
    bool progressive = false;
    int restartInterval = 0; // in MCUs; 0 writes no restart markers
    // A camera-like EXIF block (make, model, dates, exposure, orientation), optionally with an
    // embedded 160 x 120 JPEG thumbnail as cameras write it.
    bool exif = false;
    bool exifThumbnail = false;
    QString dateTime = QStringLiteral("2004:05:06 12:00:00");
    QString comment;
    // A photo-like pattern (smooth light, edges and sensor noise) instead of the plain test
    // pattern: costs more to make, compresses like a real photo.
    bool photo = false;
    quint32 seed = 1;
};

// The deterministic picture a recipe is made from: a colour gradient with sharp shapes, or the
// photo-like pattern.
QImage patternImage(const JpegRecipe& recipe);

QByteArray makeJpeg(const JpegRecipe& recipe);

// Writes the bytes to dir/name and returns the full path.
QString writeFile(const QString& dir, const QString& name, const QByteArray& data);
QString writeJpeg(const QString& dir, const QString& name, const JpegRecipe& recipe);

// Other formats through Qt's writers ("png", "bmp", "tiff", "ico") or our own small PCX
// writer ("pcx", 24-bit run-length).
QByteArray encodeImage(const QImage& image, const char* format);

} // namespace korvex::test
