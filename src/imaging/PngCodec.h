#pragma once

#include <QByteArray>
#include <QImage>

// PNG on libpng's simplified API. Reentrant; failures throw EIEFunctionError.
namespace korvex::png {

struct Header {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0; // bit depth times channels
};

// Reads the IHDR chunk only.
Header readHeader(const QByteArray& head);

// ARGB32 when the file has transparency, RGB32 otherwise, Grayscale8 for opaque grey files.
QImage decode(const QByteArray& data);

// Indexed pictures are written with their palette, everything else as RGB or RGBA.
QByteArray encode(const QImage& image);

} // namespace korvex::png
