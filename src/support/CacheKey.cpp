#include "CacheKey.h"

#include <QLocale>
#include <cmath>

namespace korvex {

quint32 TextHash31(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    quint32 h = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const quint32 code = static_cast<unsigned char>(bytes[i]);
        h = i == 0 ? code : h * 31u + code;
    }
    return h & 0x7FFFFFFu;
}

quint32 TextChecksum16(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    if (bytes.isEmpty())
        return 0;
    const qsizetype fill = (4 - bytes.size() % 4) % 4;
    const QByteArray padded = QByteArray(fill, '\0') + bytes;
    quint32 sum = 0;
    for (qsizetype i = 0; i < padded.size(); i += 4) {
        quint32 word = 0;
        for (int k = 3; k >= 0; --k)
            word = (word << 8) | static_cast<unsigned char>(padded[i + k]);
        sum += word;
    }
    return (sum >> 16) ^ (sum & 0xFFFFu);
}

double toDelphiDateTime(const QDateTime& moment) {
    static const QDate epoch(1899, 12, 30);
    const qint64 days = epoch.daysTo(moment.date());
    const double fraction = moment.time().msecsSinceStartOfDay() / 86400000.0;
    return days >= 0 ? double(days) + fraction : double(days) - fraction;
}

namespace {

// Fixed notation with five decimals after rounding to ten significant digits.
QString dateDigits(const QDateTime& date) {
    if (!date.isValid())
        return {};
    const double value = toDelphiDateTime(date);
    if (value == 0.0 || !std::isfinite(value))
        return {};
    const double significant = QString::number(value, 'e', 9).toDouble();
    QString text = QString::number(significant, 'f', 5);
    text.replace(u'.', QLocale().decimalPoint());
    return text.mid(2).remove(u'.');
}

} // namespace

QString FileCacheKey(const QString& path, const QDateTime& date) {
    return QString::number(TextHash31(path)) + dateDigits(date) + u'F' +
           QString::number(TextChecksum16(path));
}

} // namespace korvex
