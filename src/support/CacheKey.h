#pragma once

#include <QDateTime>
#include <QString>

namespace korvex {

// The thumbnail cache names its files after these codes of the picture's path. They work on the
// path's UTF-8 bytes: the same as the single-byte text for ASCII paths, and stable for any other
// name whatever the locale.

// h := first byte; h := h × 31 + byte for the rest (32-bit, wrapping); the low 27 bits.
quint32 TextHash31(const QString& text);
// The bytes, zero-filled in front to a multiple of four, as little-endian 32-bit words summed
// with wrap-around; (high 16 bits) xor (low 16 bits). 0 for an empty text.
quint32 TextChecksum16(const QString& text);

// The moment as a day number: days since 30 December 1899, the time of day as the fraction
// (before that day the fraction still counts forward from the day's start, as the format had it).
double toDelphiDateTime(const QDateTime& moment);

// TextHash31(path) + date digits + "F" + TextChecksum16(path). The date digits are the day
// number in fixed notation with five decimals (ten significant digits, the locale's decimal
// separator) without its first two characters and without "."; none for an invalid or zero date.
QString FileCacheKey(const QString& path, const QDateTime& date);

} // namespace korvex
