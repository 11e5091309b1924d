#pragma once

#include <QMetaType>
#include <QString>

namespace korvex {

// File type codes as the rest of the program stores and compares them; 0 means no picture.
enum TImageFileType : int {
    iftNone = 0,
    iftTIFF = 1,
    iftGIF = 2,
    iftJPEG = 3,
    iftPCX = 4,
    iftBMP = 5,
    iftICO = 6,
    iftCUR = 7,
    iftPNG = 8,
    iftWMF = 9,
    iftEMF = 10,
};

// What a picture file says about itself, read from its header without decoding the pixels.
struct TImageProperties {
    int FileType = iftNone;
    QString FileTypeName;
    int Width = 0; // full-size pixels
    int Height = 0;
    int BitsPerPixel = 0; // 15 is reported as 16
    QString ColorsName;
    int Scale = 1; // always 1: the header is read at full scale

    bool operator==(const TImageProperties&) const = default;
};

// "JPEG Image", "PNG Image", ... and "Unknown" for any other code.
QString FileTypeName(int fileType);

// "256", "16 Million", ... by bits per pixel; "Unknown" for depths without a name.
QString ColorsName(int bitsPerPixel);

} // namespace korvex

Q_DECLARE_METATYPE(korvex::TImageProperties)
