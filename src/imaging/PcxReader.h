#pragma once

#include <QByteArray>
#include <QImage>

// A small reader for the run-length PCX pictures older scanners and paint programs left behind:
// 1-bit mono, 16-colour planar, 256-colour and 24-bit. No library on this system reads them.
namespace korvex::pcx {

struct Header {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0; // bits per plane times planes
};

Header readHeader(const QByteArray& head);
QImage decode(const QByteArray& data);

} // namespace korvex::pcx
