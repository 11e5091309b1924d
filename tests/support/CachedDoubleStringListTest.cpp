#include "support/CachedDoubleStringList.h"

#include "TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace korvex;
using korvex::test::readFile;

namespace {

TEST(CachedDoubleStringList, KeepsTheNewestPairs) {
    TCachedDoubleStringList cache;
    cache.setMemoryCacheCount(2);
    cache.SetValue(QStringLiteral("a"), QStringLiteral("1"));
    cache.SetValue(QStringLiteral("b"), QStringLiteral("2"));
    cache.SetValue(QStringLiteral("c"), QStringLiteral("3"));
    EXPECT_EQ(cache.count(), 2);
    EXPECT_EQ(cache.GetValue(QStringLiteral("a")), QString());
    EXPECT_EQ(cache.GetValue(QStringLiteral("b")), QStringLiteral("2"));
    EXPECT_EQ(cache.GetValue(QStringLiteral("c")), QStringLiteral("3"));
}

TEST(CachedDoubleStringList, KeysIgnoreCaseAndEmptyValuesRemove) {
    TCachedDoubleStringList cache;
    EXPECT_EQ(cache.memoryCacheCount(), 1000);
    EXPECT_EQ(cache.cacheFilename(), QStringLiteral("~ImgeDim.che"));
    cache.SetValue(QStringLiteral("/p/Pic.jpg"), QStringLiteral("640x480"));
    EXPECT_EQ(cache.GetValue(QStringLiteral("/P/PIC.JPG")), QStringLiteral("640x480"));
    cache.SetValue(QStringLiteral("/P/pic.JPG"), QStringLiteral("480x640"));
    EXPECT_EQ(cache.count(), 1) << "the same key replaces its value";
    EXPECT_EQ(cache.GetValue(QStringLiteral("/p/pic.jpg")), QStringLiteral("480x640"));
    cache.SetValue(QStringLiteral("/p/pic.jpg"), QString());
    EXPECT_EQ(cache.count(), 0);
    cache.SetValue(QStringLiteral("never"), QString());
    EXPECT_EQ(cache.count(), 0) << "an empty value is not stored";
}

TEST(CachedDoubleStringList, ReplacingAValueKeepsItsAge) {
    TCachedDoubleStringList cache;
    cache.setMemoryCacheCount(2);
    cache.SetValue(QStringLiteral("a"), QStringLiteral("1"));
    cache.SetValue(QStringLiteral("b"), QStringLiteral("2"));
    cache.SetValue(QStringLiteral("A"), QStringLiteral("9"));
    cache.SetValue(QStringLiteral("c"), QStringLiteral("3"));
    EXPECT_EQ(cache.GetValue(QStringLiteral("a")), QString());
    EXPECT_EQ(cache.GetValue(QStringLiteral("b")), QStringLiteral("2"));
}

TEST(CachedDoubleStringList, BackingFileOutlivesTheMemory) {
    const QString dir = test::makeTempDir(QStringLiteral("cache"));
    TCachedDoubleStringList cache;
    cache.setCacheDirectory(dir);
    EXPECT_EQ(cache.cacheDirectory(), dir + u'/');
    cache.setMemoryCacheCount(1);
    cache.SetValue(QStringLiteral("/p/a=b.jpg"), QStringLiteral("1"));
    cache.SetValue(QStringLiteral("/p/b.jpg"), QStringLiteral("2\nmore"));
    cache.SetValue(QStringLiteral("/p/c.jpg"), QStringLiteral("3"));
    cache.SetValue(QStringLiteral("/p/c.jpg"), QString());

    const QString file = dir + QStringLiteral("/~ImgeDim.che");
    EXPECT_EQ(cache.backingFile(), file);
    EXPECT_EQ(readFile(file),
              QByteArray("[Dimensions_Cache]\n/p/a\\eb.jpg=1\n/p/b.jpg=2\\nmore\n/p/c.jpg=\n"));
    // Dropped from memory, still found in the file, without regard to case.
    EXPECT_EQ(cache.count(), 0);
    EXPECT_EQ(cache.GetValue(QStringLiteral("/P/A=B.JPG")), QStringLiteral("1"));
    EXPECT_EQ(cache.GetValue(QStringLiteral("/p/b.jpg")), QStringLiteral("2\nmore"));
    EXPECT_EQ(cache.GetValue(QStringLiteral("/p/c.jpg")), QString());

    TCachedDoubleStringList other;
    other.setCacheDirectory(dir);
    EXPECT_EQ(other.GetValue(QStringLiteral("/p/a=b.jpg")), QStringLiteral("1"));

    cache.Clear();
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(cache.GetValue(QStringLiteral("/p/a=b.jpg")), QString());
}

TEST(CachedDoubleStringList, MemoryOnlyWritesNothing) {
    TCachedDoubleStringList cache;
    cache.setCacheDirectory(QString());
    cache.SetValue(QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_TRUE(cache.backingFile().isEmpty());
    cache.Clear();
    EXPECT_EQ(cache.GetValue(QStringLiteral("k")), QString());
}

} // namespace
