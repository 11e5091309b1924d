#include "ImageProperties.h"

namespace korvex {

QString FileTypeName(int fileType) {
    switch (fileType) {
    case iftTIFF:
        return QStringLiteral("TIFF Image");
    case iftGIF:
        return QStringLiteral("Compuserve GIF");
    case iftJPEG:
        return QStringLiteral("JPEG Image");
    case iftPCX:
        return QStringLiteral("PCX Image");
    case iftBMP:
        return QStringLiteral("Windows Bitmap");
    case iftICO:
        return QStringLiteral("Icon Resource");
    case iftCUR:
        return QStringLiteral("Windows Cursor");
    case iftPNG:
        return QStringLiteral("PNG Image");
    case iftWMF:
        return QStringLiteral("Windows Metafile");
    case iftEMF:
        return QStringLiteral("Enhanced Windows Metafile");
    default:
        return QStringLiteral("Unknown");
    }
}

QString ColorsName(int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 1:
        return QStringLiteral("2");
    case 2:
        return QStringLiteral("4");
    case 3:
        return QStringLiteral("8");
    case 4:
        return QStringLiteral("16");
    case 5:
        return QStringLiteral("32");
    case 6:
        return QStringLiteral("64");
    case 7:
        return QStringLiteral("128");
    case 8:
        return QStringLiteral("256");
    case 16:
        return QStringLiteral("65,536");
    case 24:
        return QStringLiteral("16 Million");
    case 32:
        return QStringLiteral("4 Billion");
    default:
        return QStringLiteral("Unknown");
    }
}

} // namespace korvex
