#pragma once

#include "ImageFile.h"
#include "ImageProperties.h"
#include "Resample.h"

#include <QObject>
#include <QRect>
#include <QSize>
#include <functional>

class QPrinter;

namespace korvex {

// The one component through which the program loads, saves, measures, scales, transforms and
// prints picture files. Operations report failure by their result and never throw, except the
// picture printer's own errors in PrintBitmap (EIEFunctionError). Lives on the GUI thread;
// DecodeQueue does the same decoding on worker threads.
class TIEFunctions : public QObject {
    Q_OBJECT
public:
    explicit TIEFunctions(QObject* parent = nullptr);

    // Files matching one of these ";"-separated masks ("*.XXX;") are read and written by their
    // content instead of their extension.
    QString FalseExtensionformats;
    // Kept for the settings that carry them; Qt's printing scales the picture itself.
    bool PrinterDebugWinScale = false;
    int PrinterDebugScaleFactor = 1;

    // Full-scale load by extension. Success needs a picture wider or higher than one pixel.
    // errorText receives "Unknown Extension", "Load Error" or the reader's own message.
    bool LoadImageFile(TImageFile& file, const QString& path, QString& errorText,
                       bool allowFalseExtension);
    // The viewer's load: reduced-scale when jpegScaled and the path is a JPEG.
    bool LoadImageView(TImageFile& view, const QString& path, bool reportProgress,
                       bool allowFalseExtension, int height, int width, bool jpegScaled);
    // Decodes a JPEG at the largest reduction that still covers width x height (both > 0),
    // otherwise at full scale; file.FullSize keeps the picture's own size.
    bool LoadJpegScaled(TImageFile& file, const QString& path, int height, int width);
    bool LoadImageBitmap(QImage& bitmap, const QString& path, bool reportProgress, int height,
                         int width);

    // Writes in the format of the extension (or, for paths matching FalseExtensionformats, of
    // the existing file's content). quality > 0 is the JPEG quality, otherwise the file object's
    // JpegQuality. The old file is replaced only by a complete, checked new one.
    bool SaveImageFile(const TImageFile& file, const QString& path, int quality);
    bool SaveBitmapFile(const QImage& bitmap, const QString& path, bool reportProgress,
                        int quality);
    // As SaveBitmapFile after reducing the bitmap to 256 colours.
    bool SaveBitmapFile256(const QImage& bitmap, const QString& path, bool reportProgress,
                           int quality);

    // Header facts without decoding the pixels; the reset record when the file cannot be read.
    static TImageProperties GetImageProperties(const QString& path);
    static QSize GetImageSize(const QString& path);

    // Resamples to width x height (height -1 keeps the aspect ratio); width or height 0 does
    // nothing. filterMode 0 = none, 1 = linear, anything else = Lanczos 3.
    bool ResampleBitmap(QImage& bitmap, int width, bool reportProgress, bool reduceColors,
                        int filterMode, int height);

    // Prints the bitmap alone on one page with an optional header and footer line. Returns false
    // after OnMessage when the printer is busy or cannot start the job; throws EIEFunctionError
    // ("Bitmap load error", "BAD_PARAMETER") when the picture itself cannot be printed.
    bool PrintBitmap(QPrinter& printer, const QImage& bitmap, int leftRightMargin,
                     const QString& jobTitle, const QString& footerText, const QString& headerText,
                     bool centerVertically, bool centerHorizontally, int topBottomMargin);

    // Lossless JPEG transforms (partial edge blocks trimmed, every marker copied). Source and
    // destination may be the same file: it is replaced only by the complete, checked result.
    bool LosslessRotateFile(const QString& source, const QString& destination, int angle);
    // The rectangle is in picture pixels; columns left..right and rows top..bottom inclusive.
    bool LosslessCropFile(const QString& source, const QString& destination, int bottom, int right,
                          int top, int left);

    // Why the last operation that failed did (for logs and support tools).
    QString LastError() const { return m_lastError; }

signals:
    void OnProgress(QObject* sender, int percent);
    void OnProgressEnd(QObject* sender, bool succeeded);
    // A warning for the user (the core has no widgets; the window that owns us shows it).
    void OnMessage(const QString& text);

private:
    bool loadInto(TImageFile& file, const QString& path, QSize wanted, QString& errorText);
    bool loadByContent(TImageFile& file, const QString& path, QSize wanted);
    bool losslessTransform(const QString& source, const QString& destination,
                           const std::function<QByteArray(const QByteArray&)>& transform);
    void progress(int percent);
    void fail(const char* operation, const QString& error);
    template <typename Work> bool withProgress(bool report, Work&& work);

    bool m_progressSuppressed = false;
    QString m_lastError;
};

} // namespace korvex
