#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>

// JPEG work on TurboJPEG: header reading, reduced-scale decoding, encoding and the lossless
// transforms. Every function is reentrant (one TurboJPEG handle per call), so the decode pool's
// threads use them directly. Failures throw EIEFunctionError with the library's text.
namespace korvex::jpeg {

struct Header {
    int width = 0;
    int height = 0;
    int subsampling = -1; // TJSAMP_*
    int colorspace = -1;  // TJCS_*
    int bitsPerPixel() const;
};

Header readHeader(const QByteArray& data);

// The decoded size at the largest reduction the decoder offers (1/8, 1/4, 3/8, ... 7/8) whose
// result still covers `wanted` in both directions; the full size when nothing is wanted (an
// empty size) or nothing smaller covers it.
QSize reducedSize(int width, int height, QSize wanted);

struct Decoded {
    QImage image; // RGB32, or Grayscale8 for a greyscale JPEG
    Header header;
};

// Decodes at the reduction reducedSize() picks for `wanted`. Recoverable damage inside the data
// is accepted as libjpeg accepts it; a file that ends before its picture data does is an error.
Decoded decode(const QByteArray& data, QSize wanted = {});

// Encodes with the given quality (1..100). `metadata` holds complete APPn / COM segments that are
// placed right after the JFIF header, so a re-saved photo keeps its EXIF and colour profile.
QByteArray encode(const QImage& image, int quality, const QByteArray& metadata = {});

// The APP1..APP15 and COM segments in front of the picture data, markers included.
QByteArray metadataSegments(const QByteArray& data);

// Lossless rotation clockwise (90, 180 or 270; any other angle means 90), trimming partial
// edge blocks and copying every marker.
QByteArray rotate(const QByteArray& data, int angle);

// Lossless cut to the inclusive pixel rectangle `rect`, clipped to the picture; its left and top
// edges move out to the enclosing block boundary, as a lossless cut must.
QByteArray crop(const QByteArray& data, const QRect& rect);

} // namespace korvex::jpeg
