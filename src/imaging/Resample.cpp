#include "Resample.h"

#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
        // Weights stay within 16 bits for the paired multiply-adds below.
        for (int i = 0; i <= hi - lo; ++i)
            dst[i] = std::clamp(int(std::lround(w[size_t(i)] / sum * (1 << kWeightBits))), -32768,
                                32767);
    }
    return t;
}

inline uchar clampByte(int value) {
    value = (value + (1 << (kWeightBits - 1))) >> kWeightBits;
    return uchar(value < 0 ? 0 : value > 255 ? 255 : value);
}

#if defined(__SSE2__)
// SSE2 has no 32-bit multiply but a 16-bit multiply-add of pairs (pmaddwd): two taps go in one
// instruction when the samples of both are interleaved and their weights paired the same way.
inline __m128i pairedWeights(int first, int second) {
    return _mm_set1_epi32(int((unsigned(second) << 16) | (unsigned(first) & 0xFFFF)));
}

inline __m128i pixel(const uchar* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return _mm_cvtsi32_si128(int(v));
}
#endif

// The pass along one row, for `channels` interleaved bytes per pixel.
template <int channels> void filterRow(const uchar* in, uchar* out, const Taps& t, int width) {
    for (int x = 0; x < width; ++x) {
        const int* w = &t.weights[size_t(x) * size_t(t.maxTaps)];
        const uchar* p = in + t.first[size_t(x)] * channels;
        const int count = t.count[size_t(x)];
#if defined(__SSE2__)
        if constexpr (channels == 4) {
            const __m128i zero = _mm_setzero_si128();
            __m128i sum = zero;
            int k = 0;
            for (; k + 1 < count; k += 2) {
                const __m128i ab = _mm_unpacklo_epi8(
                    _mm_unpacklo_epi8(pixel(p + k * 4), pixel(p + k * 4 + 4)), zero);
                sum = _mm_add_epi32(sum, _mm_madd_epi16(ab, pairedWeights(w[k], w[k + 1])));
            }
            if (k < count) {
                const __m128i a =
                    _mm_unpacklo_epi8(_mm_unpacklo_epi8(pixel(p + k * 4), zero), zero);
                sum = _mm_add_epi32(sum, _mm_madd_epi16(a, pairedWeights(w[k], 0)));
            }
            sum = _mm_srai_epi32(_mm_add_epi32(sum, _mm_set1_epi32(1 << (kWeightBits - 1))),
                                 kWeightBits);
            const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(sum, sum), zero);
            const int value = _mm_cvtsi128_si32(bytes);
            std::memcpy(out + x * 4, &value, 4);
            continue;
        }
#endif
        int acc[channels] = {};
        for (int k = 0; k < count; ++k, p += channels)
            for (int c = 0; c < channels; ++c)
                acc[c] += p[c] * w[k];
        for (int c = 0; c < channels; ++c)
            out[x * channels + c] = clampByte(acc[c]);
    }
}

// The pass along columns for output row y: whole source rows weighted into one accumulator
// row, which vectorises well.
void filterColumns(const QImage& src, const Taps& t, int y, std::vector<int>& acc, uchar* out) {
    const int rowBytes = int(acc.size());
    std::fill(acc.begin(), acc.end(), 0);
    const int* w = &t.weights[size_t(y) * size_t(t.maxTaps)];
    const int first = t.first[size_t(y)];
    const int count = t.count[size_t(y)];
    int k = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; k + 1 < count; k += 2) {
        const uchar* a = src.constScanLine(first + k);
        const uchar* b = src.constScanLine(first + k + 1);
        const __m128i weights = pairedWeights(w[k], w[k + 1]);
        int i = 0;
        for (; i + 16 <= rowBytes; i += 16) {
            const __m128i ra = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
            const __m128i rb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
            const __m128i lo = _mm_unpacklo_epi8(ra, rb);
            const __m128i hi = _mm_unpackhi_epi8(ra, rb);
            const __m128i parts[4] = {_mm_unpacklo_epi8(lo, zero), _mm_unpackhi_epi8(lo, zero),
                                      _mm_unpacklo_epi8(hi, zero), _mm_unpackhi_epi8(hi, zero)};
            auto* sums = reinterpret_cast<__m128i*>(acc.data() + i);
            for (int j = 0; j < 4; ++j)
                _mm_storeu_si128(sums + j, _mm_add_epi32(_mm_loadu_si128(sums + j),
                                                         _mm_madd_epi16(parts[j], weights)));
        }
        for (; i < rowBytes; ++i)
            acc[size_t(i)] += a[i] * w[k] + b[i] * w[k + 1];
    }
#endif
    for (; k < count; ++k) {
        const uchar* in = src.constScanLine(first + k);
        const int weight = w[k];
        for (int i = 0; i < rowBytes; ++i)
            acc[size_t(i)] += in[i] * weight;
    }
    for (int i = 0; i < rowBytes; ++i)
        out[i] = clampByte(acc[size_t(i)]);
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

    // Each output row is first filtered down the columns into one scratch row (the pass that
    // vectorises does the bulk of the reduction), then along that row: no intermediate picture
    // to allocate, and the scratch row stays in cache.
    QImage result(width, height, format);
    if (src.isNull() || result.isNull())
        return {};
    const Taps columns = makeTaps(src.height(), height, filter);
    const Taps rows = makeTaps(src.width(), width, filter);
    std::vector<int> acc(size_t(src.width()) * size_t(channels));
    std::vector<uchar> scratch(acc.size());
    for (int y = 0; y < height; ++y) {
        filterColumns(src, columns, y, acc, scratch.data());
        if (channels == 1)
            filterRow<1>(scratch.data(), result.scanLine(y), rows, width);
        else
            filterRow<4>(scratch.data(), result.scanLine(y), rows, width);
    }
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
