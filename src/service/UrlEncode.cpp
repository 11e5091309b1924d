#include "UrlEncode.h"

namespace korvex {

QByteArray URLEncode(const QByteArray& value) {
    static constexpr char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(value.size());
    for (const char c : value) {
        const auto b = static_cast<unsigned char>(c);
        const bool escape = b < 0x20 || b >= 0x80 || b == ' ' || b == '#' || b == '%' || b == '*' ||
                            b == '+' || b == '<' || b == '>';
        if (!escape) {
            out.append(c);
            continue;
        }
        out.append('%');
        out.append(hex[b >> 4]);
        out.append(hex[b & 0x0F]);
    }
    return out;
}

QString URLEncode(const QString& value) {
    return QString::fromLatin1(URLEncode(value.toUtf8()));
}

} // namespace korvex
