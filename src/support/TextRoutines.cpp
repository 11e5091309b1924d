#include "TextRoutines.h"

#include <limits>

namespace korvex {

QString TextBefore(const QString& text, const QString& marker) {
    const qsizetype at = marker.isEmpty() ? -1 : text.indexOf(marker, 0, Qt::CaseInsensitive);
    return at < 0 ? text : text.left(at);
}

QString TextAfter(const QString& text, const QString& marker) {
    const qsizetype at = marker.isEmpty() ? -1 : text.indexOf(marker, 0, Qt::CaseInsensitive);
    return at < 0 ? text : text.mid(at + marker.size());
}

QString TextBetween(const QString& text, const QString& start, const QString& end) {
    if (!ContainsText(start, text))
        return {};
    return TextBefore(TextAfter(text, start), end);
}

QString ElementText(const QString& text, const QString& name) {
    return TextBetween(text, u'<' + name + u'>', QStringLiteral("</") + name + u'>');
}

bool ContainsText(const QString& part, const QString& text) {
    return !part.isEmpty() && text.contains(part, Qt::CaseInsensitive);
}

QString RemoveText(const QString& text, const QString& part) {
    if (part.isEmpty())
        return text;
    QString out = text;
    while (out.contains(part))
        out.remove(part);
    return out;
}

QString DeleteLeft(const QString& text, qsizetype n) {
    return n <= 0 ? text : text.mid(n);
}

QString KeepLeft(const QString& text, qsizetype n) {
    return n <= 0 ? QString() : text.left(n);
}

QString ReplaceText(const QString& text, const QString& find, const QString& replacement) {
    if (find.isEmpty())
        return text;
    if (replacement.contains(find))
        throw EXFunctionError(QStringLiteral("Circular replacement error"));
    QString out = text;
    qsizetype from = 0;
    for (qsizetype at; (at = out.indexOf(find, from)) >= 0;) {
        out.replace(at, find.size(), replacement);
        // Before the replaced place nothing matched; a new match must overlap the replacement.
        from = qMax<qsizetype>(0, at - find.size() + 1);
    }
    return out;
}

QString ReplaceChar(const QString& text, QChar find, QChar by) {
    QString out = text;
    out.replace(find, by);
    return out;
}

QString ReplaceCharByText(const QString& text, QChar find, const QString& replacement) {
    QString out = text;
    out.replace(find, replacement);
    return out;
}

QStringList SplitText(const QString& text, QChar separator, bool keepEmpty) {
    QStringList list;
    if (text.isEmpty() || text == QString(separator))
        return list;
    const auto pieces = text.split(separator);
    for (QString piece : pieces) {
        piece.replace(QStringLiteral("\"\""), QStringLiteral("\""));
        if (keepEmpty || !piece.isEmpty())
            list.append(piece);
    }
    return list;
}

QString BoolToText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool TextToBoolDef(const QString& text, bool defaultValue) {
    if (text.compare(u"TRUE", Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(u"FALSE", Qt::CaseInsensitive) == 0)
        return false;
    return defaultValue;
}

bool TextToBool(const QString& text) {
    if (text.compare(u"TRUE", Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(u"FALSE", Qt::CaseInsensitive) == 0)
        return false;
    throw EXFunctionError(QStringLiteral("Not a boolean string"));
}

QString IfEmpty(const QString& text, const QString& defaultText) {
    return text.isEmpty() ? defaultText : text;
}

QString TextIf(const QString& text, bool condition) {
    return condition ? text : QString();
}

QString IfThenText(bool condition, const QString& a, const QString& b) {
    return condition ? a : b;
}

int IfThenInt(bool condition, int a, int b) {
    return condition ? a : b;
}
int IMax(int a, int b) {
    return a > b ? a : b;
}
int IMin(int a, int b) {
    return a < b ? a : b;
}

namespace {

// numerator / denominator rounded to the nearest integer, halves to even, without overflow.
__int128 roundedQuotient(__int128 numerator, __int128 denominator) {
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const bool negative = numerator < 0;
    const __int128 n = negative ? -numerator : numerator;
    __int128 q = n / denominator;
    const __int128 twiceRest = 2 * (n % denominator);
    if (twiceRest > denominator || (twiceRest == denominator && (q & 1)))
        ++q;
    return negative ? -q : q;
}

template <typename T> T clampTo(__int128 value) {
    if (value > std::numeric_limits<T>::max())
        return std::numeric_limits<T>::max();
    if (value < std::numeric_limits<T>::min())
        return std::numeric_limits<T>::min();
    return T(value);
}

} // namespace

qint64 PercentOf(qint64 value, qint64 percent) {
    return clampTo<qint64>(roundedQuotient(__int128(value) * percent, 100));
}

int Percentage(qint64 part, qint64 whole) {
    if (whole == 0)
        return 0;
    return clampTo<int>(roundedQuotient(__int128(part) * 100, whole));
}

QString URLEncode(const QString& text) {
    static const char hex[] = "0123456789ABCDEF";
    const QByteArray bytes = text.toUtf8();
    QByteArray out;
    out.reserve(bytes.size() * 3);
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 || b >= 0x80 || b == ' ' || b == '#' || b == '%' || b == '*' || b == '+' ||
            b == '<' || b == '>') {
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 15];
        } else {
            out += ch;
        }
    }
    return QString::fromLatin1(out);
}

} // namespace korvex
