#pragma once

#include "ImageProperties.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

// Reading picture files: the reentrant core under TIEFunctions and the decode pool.
// Failures throw EIEFunctionError.
namespace korvex::picture {

struct Decoded {
    QImage image;
    int fileType = iftNone;
    QSize fullSize;          // the picture's size before any reduction
    QByteArray jpegMetadata; // APPn / COM segments of a JPEG, kept for re-saving
};

// Decodes `data` with the reader of `fileType`; a JPEG is reduced as far as `wanted` allows
// (an empty size means full scale). Data of another format fails in that reader.
Decoded decode(const QByteArray& data, int fileType, QSize wanted = {});

// Decodes with the reader the content asks for; "Unknown file format" when none here knows it.
Decoded decodeByContent(const QByteArray& data, QSize wanted = {});

// Loads a file by its extension ("Unknown Extension" for one no reader here has).
Decoded load(const QString& path, QSize wanted = {});

// The header facts of a file, read without decoding its pixels. Throws on unreadable files and
// formats without a reader here.
TImageProperties readProperties(const QString& path);

} // namespace korvex::picture
