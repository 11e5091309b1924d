#include "support/CacheKey.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace korvex;

namespace {

TEST(CacheKey, HashesOfAHandWorkedText) {
    // "abc" = 97 98 99: 97·31² + 98·31 + 99 = 96354.
    EXPECT_EQ(TextHash31(QStringLiteral("abc")), 96354u);
    // Zero-filled in front: 00 61 62 63 read little-endian is 0x63626100; 0x6362 xor 0x6100.
    EXPECT_EQ(TextChecksum16(QStringLiteral("abc")), 0x6362u ^ 0x6100u);
    EXPECT_EQ(TextChecksum16(QStringLiteral("abc")), 610u);
    EXPECT_EQ(TextHash31(QString()), 0u);
    EXPECT_EQ(TextChecksum16(QString()), 0u);
    EXPECT_EQ(TextHash31(QStringLiteral("A")), 65u);
}

TEST(CacheKey, ChecksumAddsWordsWithWrapAround) {
    // "abcdabcd": two words 0x64636261; their sum 0xC8C6C4C2 → 0xC8C6 xor 0xC4C2.
    EXPECT_EQ(TextChecksum16(QStringLiteral("abcdabcd")), 0xC8C6u ^ 0xC4C2u);
    const QString ff = QString::fromUtf8("\u00FF\u00FF"); // each is C3 BF in UTF-8
    // C3 BF C3 BF read little-endian: 0xBFC3BFC3, twice: 0x7F877F86 after wrap-around.
    EXPECT_EQ(TextChecksum16(ff + ff), 0x7F87u ^ 0x7F86u);
}

TEST(CacheKey, HashWrapsAndKeeps27Bits) {
    // Computed the long way with 64-bit numbers and cut to 32 bits at every step.
    const QByteArray text = "/home/anna/Pictures/2024 Summer/IMG_0001.JPG";
    quint64 h = quint8(text[0]);
    for (int i = 1; i < text.size(); ++i)
        h = (h * 31 + quint8(text[i])) & 0xFFFFFFFFu;
    EXPECT_EQ(TextHash31(QString::fromLatin1(text)), quint32(h & 0x7FFFFFF));
}

TEST(CacheKey, NonAsciiPathsUseTheirUtf8Bytes) {
    // "é" is C3 A9: 0xC3·31 + 0xA9 = 6222, independent of the locale.
    EXPECT_EQ(TextHash31(QStringLiteral("é")), 0xC3u * 31 + 0xA9u);
    EXPECT_EQ(TextChecksum16(QStringLiteral("é")), 0xA9C3u ^ 0x0000u);
}

TEST(CacheKey, DayNumbers) {
    EXPECT_DOUBLE_EQ(toDelphiDateTime(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_DOUBLE_EQ(toDelphiDateTime(QDateTime(QDate(1900, 1, 1), QTime(0, 0))), 2.0);
    EXPECT_DOUBLE_EQ(toDelphiDateTime(QDateTime(QDate(2000, 1, 1), QTime(12, 0))), 36526.5);
    EXPECT_DOUBLE_EQ(toDelphiDateTime(QDateTime(QDate(2024, 2, 29), QTime(18, 0))), 45351.75);
    EXPECT_DOUBLE_EQ(toDelphiDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
}

TEST(CacheKey, FileCacheKeyJoinsTheParts) {
    const QLocale saved;
    QLocale::setDefault(QLocale::c());
    // 2000-01-01 12:00 is day 36526.5 → "36526.50000" → "526.50000" → "52650000".
    const QDateTime noon(QDate(2000, 1, 1), QTime(12, 0));
    EXPECT_EQ(FileCacheKey(QStringLiteral("abc"), noon), QStringLiteral("9635452650000F610"));
    // One second past midnight is 1/86400 = 0.0000115… of a day → five decimals 0.00001.
    EXPECT_EQ(FileCacheKey(QStringLiteral("abc"), QDateTime(QDate(2024, 2, 29), QTime(0, 0, 1))),
              QStringLiteral("96354") + QStringLiteral("35100001") + QStringLiteral("F610"));
    EXPECT_EQ(FileCacheKey(QStringLiteral("abc"), QDateTime()), QStringLiteral("96354F610"));
    EXPECT_EQ(FileCacheKey(QStringLiteral("abc"), QDateTime(QDate(1899, 12, 30), QTime(0, 0))),
              QStringLiteral("96354F610"));
    // A comma separator stays in the digits; only full stops are removed.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FileCacheKey(QStringLiteral("abc"), noon), QStringLiteral("96354526,50000F610"));
    QLocale::setDefault(saved);
}

} // namespace
