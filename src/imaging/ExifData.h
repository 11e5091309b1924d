#pragma once

#include <QString>

namespace korvex {

// The camera fields of a JPEG's EXIF block, as stored (texts trimmed, without a trailing NUL;
// numbers 0 when absent). Formatting them for people is the caller's business.
struct TExifData {
    bool HasExif = false;
    QString ImageDescription, Make, Model, Software, Copyright, RelatedSoundFile;
    QString DateTime, SubSecTime;
    QString DateTimeOriginal, SubSecTimeOriginal;
    QString DateTimeDigitized, SubSecTimeDigitized;
    QString ExifVersion, FlashPixVersion;
    double XResolution = 0, YResolution = 0;
    int ResolutionUnit = 0;
    double ExposureTime = 0, FNumber = 0;
    int ExposureProgram = 0;
    double ShutterSpeedValue = 0, ApertureValue = 0, BrightnessValue = 0;
    double ExposureBiasValue = 0, MaxApertureValue = 0, SubjectDistance = 0;
    int MeteringMode = 0, LightSource = 0, Flash = 0;
    double FocalLength = 0;
    int Orientation = 0, ColorSpace = 0;
    int PixelXDimension = 0, PixelYDimension = 0;
    double FocalPlaneXResolution = 0, FocalPlaneYResolution = 0;
    int FocalPlaneResolutionUnit = 0;
    double ExposureIndex = 0;
    int SensingMethod = 0, FileSource = 0, SceneType = 0, YCbCrPositioning = 0;
};

// Reads the EXIF block of a JPEG file; a file without one (or not a JPEG) gives HasExif false.
TExifData ReadExifData(const QString& path);

// The same from the first bytes of a JPEG file (the EXIF block sits within its first 64 KB).
TExifData ParseExifData(const QByteArray& jpegHead);

} // namespace korvex
