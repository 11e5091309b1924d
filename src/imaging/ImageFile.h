#pragma once

#include "ImageProperties.h"

#include <QByteArray>
#include <QImage>

namespace korvex {

// A picture together with what its file said about how to write it again: the image file object
// that viewers, editors and the upload hold and pass to TIEFunctions.
struct TImageFile {
    QImage Bitmap;
    int FileType = iftNone;  // of the file last loaded
    QSize FullSize;          // the picture's own size; Bitmap is smaller after a reduced load
    int JpegQuality = 80;    // used by saves that ask for no particular quality
    QByteArray JpegMetadata; // EXIF, XMP, colour profile and comments of a loaded JPEG,
                             // written back when the picture is saved as JPEG again
};

} // namespace korvex
