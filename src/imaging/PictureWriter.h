#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Writing picture files. Reentrant; failures throw EIEFunctionError.
namespace korvex::picture {

// Encodes in the format of `fileType` (JPEG with `quality` and the given APPn / COM segments,
// PNG, BMP, TIFF, ICO). Formats without a writer here fail with "Save Error".
QByteArray encode(const QImage& image, int fileType, int quality,
                  const QByteArray& jpegMetadata = {});

// Replaces `path` with `data` so that the file is never seen half written: the bytes go to a
// temporary file beside it, which is flushed, checked for its full length and only then renamed
// over the old file. A read-only file is not replaced.
void writeFileSafely(const QString& path, const QByteArray& data);

} // namespace korvex::picture
