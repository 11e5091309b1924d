#include "IEFunctions.h"

#include "ImageFormat.h"
#include "JpegCodec.h"
#include "PictureReader.h"
#include "PictureWriter.h"
#include "support/DebugLog.h"

#include <QFileInfo>

namespace korvex {

TIEFunctions::TIEFunctions(QObject* parent) : QObject(parent) {}

void TIEFunctions::fail(const char* operation, const QString& error) {
    m_lastError = error;
    DebugLog(QString::fromLatin1(operation), QStringLiteral("Error: ") + error);
}

void TIEFunctions::progress(int percent) {
    if (!m_progressSuppressed)
        emit OnProgress(this, percent);
}

template <typename Work> bool TIEFunctions::withProgress(bool report, Work&& work) {
    const bool outer = m_progressSuppressed;
    m_progressSuppressed = outer || !report;
    bool ok = false;
    try {
        ok = work();
    } catch (...) {
        m_progressSuppressed = outer;
        throw;
    }
    m_progressSuppressed = outer;
    if (report)
        emit OnProgressEnd(this, ok);
    return ok;
}

static bool biggerThanOnePixel(const QImage& image) {
    return !image.isNull() && (image.width() > 1 || image.height() > 1);
}

static void take(TImageFile& file, picture::Decoded&& decoded) {
    file.Bitmap = std::move(decoded.image);
    file.FileType = decoded.fileType;
    file.FullSize = decoded.fullSize;
    file.JpegMetadata = std::move(decoded.jpegMetadata);
}

bool TIEFunctions::loadInto(TImageFile& file, const QString& path, QSize wanted,
                            QString& errorText) {
    file.Bitmap = QImage(1, 1, QImage::Format_RGB32);
    file.FullSize = file.Bitmap.size();
    progress(0);
    try {
        take(file, picture::load(path, wanted));
        progress(100);
        if (biggerThanOnePixel(file.Bitmap))
            return true;
        errorText = QStringLiteral("Load Error");
    } catch (const std::exception& e) {
        errorText = QString::fromUtf8(e.what());
    }
    m_lastError = errorText;
    return false;
}

bool TIEFunctions::loadByContent(TImageFile& file, const QString& path, QSize wanted) {
    try {
        take(file, picture::decodeByContent(imageformat::readFile(path), wanted));
        return biggerThanOnePixel(file.Bitmap);
    } catch (const std::exception& e) {
        fail("LoadByContent", QString::fromUtf8(e.what()));
        return false;
    }
}

bool TIEFunctions::LoadImageFile(TImageFile& file, const QString& path, QString& errorText,
                                 bool allowFalseExtension) {
    errorText.clear();
    if (loadInto(file, path, {}, errorText))
        return true;
    if (allowFalseExtension && imageformat::matchesMasks(path, FalseExtensionformats)) {
        if (loadByContent(file, path, {})) {
            errorText.clear();
            return true;
        }
        errorText = QStringLiteral("Load Error");
    }
    fail("LoadImageFile", errorText);
    return false;
}

bool TIEFunctions::LoadJpegScaled(TImageFile& file, const QString& path, int height, int width) {
    const QSize wanted = height > 0 && width > 0 ? QSize(width, height) : QSize();
    file.Bitmap = QImage(1, 1, QImage::Format_RGB32);
    file.FullSize = file.Bitmap.size();
    progress(0);
    try {
        take(file, picture::decode(imageformat::readFile(path), iftJPEG, wanted));
        progress(100);
        return !file.Bitmap.isNull();
    } catch (const std::exception& e) {
        fail("LoadJpegScaled", QString::fromUtf8(e.what()));
        return false;
    }
}

bool TIEFunctions::LoadImageView(TImageFile& view, const QString& path, bool reportProgress,
                                 bool allowFalseExtension, int height, int width, bool jpegScaled) {
    return withProgress(reportProgress, [&] {
        bool ok = false;
        if (jpegScaled && imageformat::isJpegPath(path)) {
            ok = LoadJpegScaled(view, path, height, width) && biggerThanOnePixel(view.Bitmap);
        } else {
            QString error;
            ok = loadInto(view, path, {}, error);
        }
        if (!ok && allowFalseExtension && imageformat::matchesMasks(path, FalseExtensionformats))
            ok = loadByContent(view, path, jpegScaled ? QSize(width, height) : QSize());
        if (!ok)
            fail("LoadImageView", m_lastError);
        return ok;
    });
}

bool TIEFunctions::LoadImageBitmap(QImage& bitmap, const QString& path, bool reportProgress,
                                   int height, int width) {
    return withProgress(reportProgress, [&] {
        TImageFile file;
        bool ok = false;
        if (imageformat::isJpegPath(path) && height > 1 && width > 1) {
            ok = LoadJpegScaled(file, path, height, width);
        } else {
            QString error;
            ok = LoadImageFile(file, path, error, true);
        }
        bitmap = file.Bitmap;
        return ok;
    });
}

bool TIEFunctions::SaveImageFile(const TImageFile& file, const QString& path, int quality) {
    try {
        int type = imageformat::typeFromExtension(path);
        if (imageformat::matchesMasks(path, FalseExtensionformats) && QFileInfo::exists(path))
            type = imageformat::typeFromContent(imageformat::readHead(path, 128));
        progress(0);
        const QByteArray data = picture::encode(
            file.Bitmap, type, quality > 0 ? quality : file.JpegQuality, file.JpegMetadata);
        // Check what we are about to write before it replaces anything.
        if (type == iftJPEG) {
            const jpeg::Header h = jpeg::readHeader(data);
            if (h.width != file.Bitmap.width() || h.height != file.Bitmap.height())
                throw EIEFunctionError(QStringLiteral("Save Error"));
        }
        picture::writeFileSafely(path, data);
        progress(100);
        return true;
    } catch (const std::exception& e) {
        fail("SaveImageFile", QString::fromUtf8(e.what()));
        return false;
    }
}

bool TIEFunctions::SaveBitmapFile(const QImage& bitmap, const QString& path, bool reportProgress,
                                  int quality) {
    return withProgress(reportProgress, [&] {
        TImageFile file;
        file.Bitmap = bitmap;
        return SaveImageFile(file, path, quality);
    });
}

bool TIEFunctions::SaveBitmapFile256(const QImage& bitmap, const QString& path, bool reportProgress,
                                     int quality) {
    return withProgress(reportProgress, [&] {
        TImageFile file;
        file.Bitmap = bitmap.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
        if (file.Bitmap.isNull()) {
            fail("SaveBitmapFile",
                 QStringLiteral("The picture could not be reduced to 256 colours"));
            return false;
        }
        return SaveImageFile(file, path, quality);
    });
}

TImageProperties TIEFunctions::GetImageProperties(const QString& path) {
    try {
        return picture::readProperties(path);
    } catch (const std::exception& e) {
        DebugLog(QStringLiteral("GetImageProperties"), QStringLiteral("Error: ") + e.what());
        return {};
    }
}

QSize TIEFunctions::GetImageSize(const QString& path) {
    const TImageProperties p = GetImageProperties(path);
    return QSize(p.Width, p.Height);
}

bool TIEFunctions::ResampleBitmap(QImage& bitmap, int width, bool reportProgress, bool reduceColors,
                                  int filterMode, int height) {
    return withProgress(reportProgress, [&] {
        if (bitmap.isNull() || width == 0 || height == 0)
            return true;
        const bool keepAspect = height == -1;
        if (keepAspect)
            height = qMax(1, int(std::nearbyint(double(bitmap.height()) * width / bitmap.width())));
        if (bitmap.width() == width && bitmap.height() == height)
            return true;
        ResampleFilter filter = filterMode == 0   ? ResampleFilter::None
                                : filterMode == 1 ? ResampleFilter::Linear
                                                  : ResampleFilter::Lanczos3;
        if (!keepAspect && (width <= 4 || height <= 4))
            filter = ResampleFilter::None;
        progress(0);
        QImage result = Resample(bitmap, width, height, filter);
        if (result.isNull() && filter != ResampleFilter::None)
            result = Resample(bitmap, width, height, ResampleFilter::None);
        if (result.isNull()) {
            fail("ResampleBitmap", QStringLiteral("Not enough memory to resample the picture"));
            return false;
        }
        if (reduceColors)
            result = result.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
        bitmap = std::move(result);
        progress(100);
        return !bitmap.isNull();
    });
}

} // namespace korvex
