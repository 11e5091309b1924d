#include "JpegCodec.h"

#include "ImageFormat.h"

#include <memory>
#include <turbojpeg.h>

namespace korvex::jpeg {

namespace {

struct HandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

Handle makeHandle(tjhandle handle) {
    if (!handle)
        throw EIEFunctionError(QString::fromUtf8(tjGetErrorStr2(nullptr)));
    return Handle(handle);
}

[[noreturn]] void fail(const Handle& handle) {
    throw EIEFunctionError(QString::fromUtf8(tjGetErrorStr2(handle.get())));
}

const uchar* bytes(const QByteArray& data) {
    return reinterpret_cast<const uchar*>(data.data());
}

Header headerOf(const Handle& handle, const QByteArray& data) {
    Header h;
    if (tjDecompressHeader3(handle.get(), bytes(data), ulong(data.size()), &h.width, &h.height,
                            &h.subsampling, &h.colorspace) != 0)
        fail(handle);
    if (h.width < 1 || h.height < 1)
        throw EIEFunctionError(QStringLiteral("Invalid JPEG dimensions"));
    return h;
}

// Adobe CMYK JPEGs store inverted ink values; this is the usual reading of them. The CMYK
// samples are turned into RGB32 in place: both take four bytes a pixel.
void cmykToRgbInPlace(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const uchar* cmyk = line + x * 4;
            const int k = cmyk[3];
            const QRgb rgb = qRgb(cmyk[0] * k / 255, cmyk[1] * k / 255, cmyk[2] * k / 255);
            reinterpret_cast<QRgb*>(line)[x] = rgb;
        }
    }
}

QByteArray takeBuffer(uchar* buffer, ulong size) {
    QByteArray out(reinterpret_cast<const char*>(buffer), qsizetype(size));
    tjFree(buffer);
    return out;
}

QByteArray transform(const QByteArray& data, tjtransform& xform) {
    auto handle = makeHandle(tjInitTransform());
    // TurboJPEG writes straight into the result when it may: memory is then touched only as far
    // as the output goes, with no copy after. It sizes that buffer itself from the output's
    // dimensions, which leaves room for the copied markers only when the picture dwarfs them,
    // as it does in every photo; small or odd cases take the growing buffer.
    const Header h = headerOf(handle, data);
    if (h.subsampling >= 0 && xform.op != TJXOP_NONE) {
        const bool swapped = xform.op == TJXOP_ROT90 || xform.op == TJXOP_ROT270;
        const ulong room =
            tjBufSize(swapped ? h.height : h.width, swapped ? h.width : h.height, h.subsampling);
        if (room != ulong(-1) && room / 2 > ulong(data.size())) {
            QByteArray out(qsizetype(room), Qt::Uninitialized);
            auto* buffer = reinterpret_cast<uchar*>(out.data());
            ulong outSize = room;
            if (tjTransform(handle.get(), bytes(data), ulong(data.size()), 1, &buffer, &outSize,
                            &xform, TJFLAG_NOREALLOC) != 0)
                fail(handle);
            out.truncate(qsizetype(outSize));
            return out;
        }
    }
    uchar* out = nullptr;
    ulong outSize = 0;
    if (tjTransform(handle.get(), bytes(data), ulong(data.size()), 1, &out, &outSize, &xform, 0) !=
        0) {
        tjFree(out);
        fail(handle);
    }
    return takeBuffer(out, outSize);
}

} // namespace

int Header::bitsPerPixel() const {
    switch (colorspace) {
    case TJCS_GRAY:
        return 8;
    case TJCS_CMYK:
    case TJCS_YCCK:
        return 32;
    default:
        return 24;
    }
}

Header readHeader(const QByteArray& data) {
    auto handle = makeHandle(tjInitDecompress());
    return headerOf(handle, data);
}

QSize reducedSize(int width, int height, QSize wanted) {
    QSize best(width, height);
    if (wanted.width() <= 0 || wanted.height() <= 0)
        return best;
    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    for (int i = 0; factors && i < count; ++i) {
        const tjscalingfactor f = factors[i];
        if (f.num >= f.denom)
            continue;
        const QSize size(TJSCALED(width, f), TJSCALED(height, f));
        if (size.width() >= wanted.width() && size.height() >= wanted.height() &&
            size.width() < best.width())
            best = size;
    }
    return best;
}

Decoded decode(const QByteArray& data, QSize wanted) {
    auto handle = makeHandle(tjInitDecompress());
    Decoded result;
    result.header = headerOf(handle, data);
    const Header& h = result.header;
    const QSize size = reducedSize(h.width, h.height, wanted);
    const int width = size.width();
    const int height = size.height();
    const bool reduced = width < h.width;
    imageformat::checkPictureSize(width, height, 4);

    const bool cmyk = h.colorspace == TJCS_CMYK || h.colorspace == TJCS_YCCK;
    const bool grey = h.colorspace == TJCS_GRAY;
    result.image = QImage(width, height, grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (result.image.isNull())
        throw EIEFunctionError(
            QStringLiteral("Not enough memory for a %1 x %2 picture").arg(width).arg(height));
    // TJPF_BGRX is the byte order of QImage::Format_RGB32 on little-endian hosts.
    const int pixelFormat = cmyk ? TJPF_CMYK : grey ? TJPF_GRAY : TJPF_BGRX;
    // A reduced decode is a preview on its way to a smaller size still; the faster IDCT and
    // chroma upsampling differ by a level or two at most, which the next shrink averages away.
    const int flags = reduced ? TJFLAG_FASTDCT | TJFLAG_FASTUPSAMPLE : 0;
    if (tjDecompress2(handle.get(), bytes(data), ulong(data.size()), result.image.bits(), width,
                      int(result.image.bytesPerLine()), height, pixelFormat, flags) != 0) {
        // Damage libjpeg can step over is a warning; a file cut short is not a picture.
        const QString text = QString::fromUtf8(tjGetErrorStr2(handle.get()));
        if (tjGetErrorCode(handle.get()) != TJERR_WARNING || text.contains(u"Premature end"))
            throw EIEFunctionError(text);
    }
    if (cmyk)
        cmykToRgbInPlace(result.image);
    return result;
}

QByteArray metadataSegments(const QByteArray& data) {
    QByteArray out;
    qsizetype pos = 2;
    const auto at = [&](qsizetype i) { return uchar(data[i]); };
    while (pos + 4 <= data.size() && at(pos) == 0xFF) {
        const uchar marker = at(pos + 1);
        if (marker == 0xDA || marker == 0xD9)
            break;
        const qsizetype length = (at(pos + 2) << 8) | at(pos + 3);
        if (length < 2 || pos + 2 + length > data.size())
            break;
        if ((marker >= 0xE1 && marker <= 0xEF) || marker == 0xFE)
            out.append(data.constData() + pos, 2 + length);
        pos += 2 + length;
    }
    return out;
}

QByteArray encode(const QImage& source, int quality, const QByteArray& metadata) {
    if (source.isNull())
        throw EIEFunctionError(QStringLiteral("No picture to save"));
    const bool grey = source.format() == QImage::Format_Grayscale8;
    const QImage image = grey ? source : source.convertToFormat(QImage::Format_RGB32);
    auto handle = makeHandle(tjInitCompress());
    uchar* out = nullptr;
    ulong outSize = 0;
    // Near-lossless working copies keep full colour resolution; ordinary saves use 4:2:0.
    const int subsampling = grey ? TJSAMP_GRAY : quality >= 90 ? TJSAMP_444 : TJSAMP_420;
    if (tjCompress2(handle.get(), image.constBits(), image.width(), int(image.bytesPerLine()),
                    image.height(), grey ? TJPF_GRAY : TJPF_BGRX, &out, &outSize, subsampling,
                    qBound(1, quality, 100), 0) != 0) {
        tjFree(out);
        fail(handle);
    }
    QByteArray encoded = takeBuffer(out, outSize);
    if (!metadata.isEmpty()) {
        qsizetype insertAt = 2;
        if (encoded.size() > 6 && uchar(encoded[2]) == 0xFF && uchar(encoded[3]) == 0xE0)
            insertAt = 4 + ((uchar(encoded[4]) << 8) | uchar(encoded[5]));
        encoded.insert(insertAt, metadata);
    }
    return encoded;
}

QByteArray rotate(const QByteArray& data, int angle) {
    tjtransform xform{};
    xform.op = angle == 180 ? TJXOP_ROT180 : angle == 270 ? TJXOP_ROT270 : TJXOP_ROT90;
    xform.options = TJXOPT_TRIM;
    return transform(data, xform);
}

QByteArray crop(const QByteArray& data, const QRect& rect) {
    const Header h = readHeader(data);
    const QRect wanted = rect.intersected(QRect(0, 0, h.width, h.height));
    if (wanted.isEmpty())
        throw EIEFunctionError(QStringLiteral("The cut (%1,%2)-(%3,%4) lies outside the picture")
                                   .arg(rect.left())
                                   .arg(rect.top())
                                   .arg(rect.right())
                                   .arg(rect.bottom()));
    const int blockW = h.subsampling >= 0 ? tjMCUWidth[h.subsampling] : 8;
    const int blockH = h.subsampling >= 0 ? tjMCUHeight[h.subsampling] : 8;
    tjtransform xform{};
    xform.op = TJXOP_NONE;
    xform.options = TJXOPT_CROP | TJXOPT_TRIM;
    xform.r.x = wanted.left() - wanted.left() % blockW;
    xform.r.y = wanted.top() - wanted.top() % blockH;
    xform.r.w = wanted.right() + 1 - xform.r.x;
    xform.r.h = wanted.bottom() + 1 - xform.r.y;
    return transform(data, xform);
}

} // namespace korvex::jpeg
