#include "Resample.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace korvex {

namespace {

constexpr int kWeightBits = 14;

struct Taps {
    std::vector<int> first; // first source index per output position
    std::vector<int> count; // number of taps per output position
    std::vector<int> weights;
    int maxTaps = 0;
};

double lanczos3(double x) {
    x = std::abs(x);
    if (x < 1e-9)
        return 1.0;
    if (x >= 3.0)
        return 0.0;
    const double px = std::numbers::pi * x;
    return 3.0 * std::sin(px) * std::sin(px / 3.0) / (px * px);
}

double triangle(double x) {
    x = std::abs(x);
    return x < 1.0 ? 1.0 - x : 0.0;
}

Taps makeTaps(int sourceSize, int targetSize, ResampleFilter filter) {
    const double scale = double(sourceSize) / targetSize;
    const double stretch = std::max(scale, 1.0);
    const double radius = (filter == ResampleFilter::Lanczos3 ? 3.0 : 1.0) * stretch;
    Taps t;
    t.maxTaps = int(std::ceil(radius)) * 2 + 1;
    t.first.resize(size_t(targetSize));
    t.count.resize(size_t(targetSize));
    t.weights.assign(size_t(targetSize) * size_t(t.maxTaps), 0);
    std::vector<double> w(size_t(t.maxTaps));
    for (int out = 0; out < targetSize; ++out) {
        const double center = (out + 0.5) * scale - 0.5;
        int lo = int(std::ceil(center - radius));
        int hi = int(std::floor(center + radius));
        lo = std::max(lo, 0);
        hi = std::min(hi, sourceSize - 1);
        if (hi - lo + 1 > t.maxTaps)
            hi = lo + t.maxTaps - 1;
        double sum = 0;
        for (int i = lo; i <= hi; ++i) {
            const double x = (i - center) / stretch;
            w[size_t(i - lo)] = filter == ResampleFilter::Lanczos3 ? lanczos3(x) : triangle(x);
            sum += w[size_t(i - lo)];
        }
        if (sum == 0) { // a tap window between samples: take the nearest one
            lo = hi = std::clamp(int(std::lround(center)), 0, sourceSize - 1);
            w[0] = sum = 1;
        }
        t.first[size_t(out)] = lo;
        t.count[size_t(out)] = hi - lo + 1;
        int* dst = &t.weights[size_t(out) * size_t(t.maxTaps)];
        for (int i = 0; i <= hi - lo; ++i)
            dst[i] = int(std::lround(w[size_t(i)] / sum * (1 << kWeightBits)));
    }
    return t;
}

inline uchar clampByte(int value) {
    value = (value + (1 << (kWeightBits - 1))) >> kWeightBits;
    return uchar(value < 0 ? 0 : value > 255 ? 255 : value);
}

// One pass along rows (horizontal) for `channels` interleaved bytes per pixel.
void resampleRows(const QImage& src, QImage& dst, const Taps& t, int channels) {
    for (int y = 0; y < dst.height(); ++y) {
        const uchar* in = src.constScanLine(y);
        uchar* out = dst.scanLine(y);
        for (int x = 0; x < dst.width(); ++x) {
            const int* w = &t.weights[size_t(x) * size_t(t.maxTaps)];
            const uchar* p = in + t.first[size_t(x)] * channels;
            int acc[4] = {0, 0, 0, 0};
            for (int k = 0; k < t.count[size_t(x)]; ++k, p += channels)
                for (int c = 0; c < channels; ++c)
                    acc[c] += p[c] * w[k];
            for (int c = 0; c < channels; ++c)
                out[x * channels + c] = clampByte(acc[c]);
        }
    }
}

void resampleColumns(const QImage& src, QImage& dst, const Taps& t, int channels) {
    const int rowBytes = dst.width() * channels;
    std::vector<int> acc(static_cast<size_t>(rowBytes));
    for (int y = 0; y < dst.height(); ++y) {
        std::fill(acc.begin(), acc.end(), 0);
        const int* w = &t.weights[size_t(y) * size_t(t.maxTaps)];
        for (int k = 0; k < t.count[size_t(y)]; ++k) {
            const uchar* in = src.constScanLine(t.first[size_t(y)] + k);
            const int weight = w[k];
            for (int i = 0; i < rowBytes; ++i)
                acc[size_t(i)] += in[i] * weight;
        }
        uchar* out = dst.scanLine(y);
        for (int i = 0; i < rowBytes; ++i)
            out[i] = clampByte(acc[size_t(i)]);
    }
}

// Banker's rounding, the program's rule for rounded sizes.
int roundEven(double value) {
    return int(std::nearbyint(value));
}

} // namespace

QImage Resample(const QImage& source, int width, int height, ResampleFilter filter) {
    if (source.isNull() || width < 1 || height < 1)
        return {};
    if (filter == ResampleFilter::None)
        return source.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);

    QImage::Format format = QImage::Format_RGB32;
    if (source.format() == QImage::Format_Grayscale8)
        format = QImage::Format_Grayscale8;
    else if (source.hasAlphaChannel())
        format = QImage::Format_ARGB32_Premultiplied;
    const QImage src = source.convertToFormat(format);
    const int channels = format == QImage::Format_Grayscale8 ? 1 : 4;

    QImage wide(width, src.height(), format);
    QImage result(width, height, format);
    if (src.isNull() || wide.isNull() || result.isNull())
        return {};
    resampleRows(src, wide, makeTaps(src.width(), width, filter), channels);
    resampleColumns(wide, result, makeTaps(src.height(), height, filter), channels);
    if (format == QImage::Format_ARGB32_Premultiplied) {
        // Ringing can push a colour above its alpha; keep the premultiplied invariant.
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const int a = qAlpha(line[x]);
                line[x] = qRgba(std::min(qRed(line[x]), a), std::min(qGreen(line[x]), a),
                                std::min(qBlue(line[x]), a), a);
            }
        }
    }
    result.setDotsPerMeterX(source.dotsPerMeterX());
    result.setDotsPerMeterY(source.dotsPerMeterY());
    return result;
}

QRect FitRect(int pictureWidth, int pictureHeight, bool centerVertically, bool centerHorizontally,
              bool shrink, bool enlarge, int areaTop, int areaLeft, int areaHeight, int areaWidth) {
    if (pictureWidth <= 0 || pictureHeight <= 0 || areaWidth <= 0 || areaHeight <= 0)
        return QRect(areaLeft, areaTop, 0, 0);
    int width = pictureWidth;
    int height = pictureHeight;
    if (double(pictureWidth) / areaWidth > double(pictureHeight) / areaHeight) {
        if ((pictureWidth > areaWidth && shrink) || (pictureWidth <= areaWidth && enlarge)) {
            width = areaWidth;
            height = roundEven(double(pictureHeight) * areaWidth / pictureWidth);
        }
    } else if ((pictureHeight > areaHeight && shrink) || (pictureHeight <= areaHeight && enlarge)) {
        height = areaHeight;
        width = roundEven(double(pictureWidth) * areaHeight / pictureHeight);
    }
    int top = areaTop;
    int left = areaLeft;
    if (centerVertically && height < areaHeight - 1)
        top += int(areaHeight / 2.0 - height / 2.0);
    if (centerHorizontally && width < areaWidth - 1)
        left += int(areaWidth / 2.0 - width / 2.0);
    return QRect(left, top, width, height);
}

} // namespace korvex
