#include "PcxReader.h"

#include "ImageFormat.h"

#include <QtEndian>

namespace korvex::pcx {

namespace {

struct Layout {
    Header header;
    int bitsPerPlane = 0;
    int planes = 0;
    int bytesPerLine = 0;
};

Layout readLayout(const QByteArray& head) {
    if (head.size() < 128 || uchar(head[0]) != 10 || uchar(head[2]) != 1)
        throw EIEFunctionError(QStringLiteral("Not a PCX file"));
    const auto u16 = [&](int at) { return int(qFromLittleEndian<quint16>(head.constData() + at)); };
    Layout l;
    l.bitsPerPlane = uchar(head[3]);
    l.planes = uchar(head[65]);
    l.bytesPerLine = u16(66);
    l.header.width = u16(8) - u16(4) + 1;
    l.header.height = u16(10) - u16(6) + 1;
    l.header.bitsPerPixel = l.bitsPerPlane * l.planes;
    if (l.header.width < 1 || l.header.height < 1 ||
        l.bytesPerLine * 8 < l.header.width * l.bitsPerPlane)
        throw EIEFunctionError(QStringLiteral("Invalid PCX dimensions"));
    return l;
}

} // namespace

Header readHeader(const QByteArray& head) {
    return readLayout(head).header;
}

QImage decode(const QByteArray& data) {
    const Layout l = readLayout(data);
    const int w = l.header.width;
    const int h = l.header.height;
    const bool mono = l.bitsPerPlane == 1 && l.planes == 1;
    const bool ega = l.bitsPerPlane == 1 && l.planes == 4;
    const bool indexed = l.bitsPerPlane == 8 && l.planes == 1;
    const bool rgb = l.bitsPerPlane == 8 && l.planes == 3;
    if (!mono && !ega && !indexed && !rgb)
        throw EIEFunctionError(QStringLiteral("Unsupported PCX format (%1 bits, %2 planes)")
                                   .arg(l.bitsPerPlane)
                                   .arg(l.planes));

    QVector<QRgb> palette;
    if (indexed) {
        // The 256-colour palette trails the picture data behind a 12 marker byte.
        const qsizetype at = data.size() - 769;
        for (int i = 0; i < 256; ++i) {
            if (at > 128 && uchar(data[at]) == 12) {
                const auto* c = reinterpret_cast<const uchar*>(data.constData() + at + 1 + i * 3);
                palette.append(qRgb(c[0], c[1], c[2]));
            } else {
                palette.append(qRgb(i, i, i));
            }
        }
    } else if (ega) {
        for (int i = 0; i < 16; ++i) {
            const auto* c = reinterpret_cast<const uchar*>(data.constData() + 16 + i * 3);
            palette.append(qRgb(c[0], c[1], c[2]));
        }
    }

    imageformat::checkPictureSize(w, h, rgb ? 4 : 1);
    // A run codes at most 63 bytes in two, so a file too short for its lines is refused
    // before anything is allocated for them.
    if ((data.size() - 128) * 63 / 2 < qint64(h) * l.bytesPerLine * l.planes)
        throw EIEFunctionError(QStringLiteral("PCX data cut short"));
    QImage image(w, h, rgb ? QImage::Format_RGB32 : QImage::Format_Indexed8);
    if (image.isNull())
        throw EIEFunctionError(
            QStringLiteral("Not enough memory for a %1 x %2 picture").arg(w).arg(h));
    if (mono)
        palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    if (!rgb)
        image.setColorTable(palette);

    const qsizetype lineBytes = qsizetype(l.bytesPerLine) * l.planes;
    QByteArray line(lineBytes, 0);
    const auto* src = reinterpret_cast<const uchar*>(data.constData());
    qsizetype pos = 128;
    for (int y = 0; y < h; ++y) {
        for (qsizetype filled = 0; filled < lineBytes;) {
            if (pos >= data.size())
                throw EIEFunctionError(QStringLiteral("PCX data cut short"));
            uchar value = src[pos++];
            qsizetype count = 1;
            if ((value & 0xC0) == 0xC0) {
                count = value & 0x3F;
                if (pos >= data.size())
                    throw EIEFunctionError(QStringLiteral("PCX data cut short"));
                value = src[pos++];
            }
            for (; count > 0 && filled < lineBytes; --count)
                line[filled++] = char(value);
        }
        const auto* in = reinterpret_cast<const uchar*>(line.constData());
        uchar* out = image.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const auto bit = [&](int plane) {
                return (in[plane * l.bytesPerLine + x / 8] >> (7 - x % 8)) & 1;
            };
            if (rgb)
                reinterpret_cast<QRgb*>(out)[x] =
                    qRgb(in[x], in[l.bytesPerLine + x], in[2 * l.bytesPerLine + x]);
            else if (indexed)
                out[x] = in[x];
            else if (mono)
                out[x] = uchar(bit(0));
            else
                out[x] = uchar(bit(0) | bit(1) << 1 | bit(2) << 2 | bit(3) << 3);
        }
    }
    return image;
}

} // namespace korvex::pcx
