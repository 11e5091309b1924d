#include "browse/ThumbCache.h"

#include "BrowseFixtures.h"
#include "TestEnvironment.h"
#include "imaging/IEFunctions.h"
#include "support/CacheKey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::test;

namespace {

QImage thumb(QColor colour = Qt::darkGreen) {
    QImage image(90, 67, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

class ThumbCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        pictures = makeTempDir(QStringLiteral("pictures"));
        cacheDir = makeTempDir(QStringLiteral("cache")) + QStringLiteral("/Cache");
    }
    std::unique_ptr<ThumbCache> makeCache(int limit = 1000) {
        auto cache = std::make_unique<ThumbCache>(functions);
        cache->setMaxDiskCount(limit);
        cache->setDiskCacheDirectory(cacheDir);
        return cache;
    }
    QString picture(const QString& name, const QDateTime& modified = noon) {
        const QString path = writePictures(pictures, 1, name).first();
        EXPECT_TRUE(setModified(path, modified));
        return path;
    }

    static inline const QDateTime noon{QDate(2004, 5, 6), QTime(12, 0)};
    TIEFunctions functions;
    QString pictures, cacheDir;
};

} // namespace

TEST_F(ThumbCacheTest, FileNamesAreBuiltFromTheExactPathAndTheModificationTime) {
    struct Case {
        const char* name;
        QDateTime modified;
        const char* dateDigits;
    };
    const Case cases[] = {
        {"abc", noon, "11350000"},
        {"ABC", noon, "11350000"}, // letter case changes both hashes
        {"Öl und Äpfel ", noon, "11350000"},
        {"日本", noon, "11350000"},
        {"late", QDateTime(QDate(2004, 5, 6), QTime(18, 0)), "11375000"},
    };
    auto cache = makeCache();
    QStringList names;
    for (const Case& c : cases) {
        const QString path = picture(QString::fromUtf8(c.name), c.modified);
        const QString expected = QStringLiteral("~x15") + QString::number(TextHash31(path)) +
                                 QLatin1String(c.dateDigits) + u'F' +
                                 QString::number(TextChecksum16(path)) + QStringLiteral(".jpg");
        EXPECT_EQ(cache->thumbFileName(path), expected) << c.name;
        cache->store(path, thumb(), true, true);
        EXPECT_TRUE(QFileInfo::exists(cacheDir + u'/' + expected)) << c.name;
        names << expected;
    }
    EXPECT_EQ(names.removeDuplicates(), 0);
    cache->saveIndex();
    QStringList paths;
    for (const Case& c : cases)
        paths << pictures + u'/' + QString::fromUtf8(c.name) + QStringLiteral("00.jpg");
    EXPECT_EQ(indexLines(cacheDir), paths);
    QFile index(cacheDir + QStringLiteral("/~cche.idx"));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    EXPECT_TRUE(index.readAll().endsWith(QByteArray("00.jpg\r\n")));
}

TEST_F(ThumbCacheTest, TheBoxDifferenceAndTheSaveFormatNameTheFile) {
    ThumbCache cache(functions);
    cache.setThumbnailSize(120, 80);
    cache.setSaveFormat(QStringLiteral(".bmp"));
    const QString path = picture(QStringLiteral("a"));
    EXPECT_TRUE(cache.thumbFileName(path).startsWith(QStringLiteral("~x40")));
    EXPECT_TRUE(cache.thumbFileName(path).endsWith(QStringLiteral(".bmp")));
    EXPECT_TRUE(
        cache.thumbFileName(path, QDateTime()).contains(QString::number(TextHash31(path)) + u'F'));
}

TEST_F(ThumbCacheTest, ADiskHitComesBackAndBecomesMostRecentlyUsed) {
    auto cache = makeCache();
    const QString a = picture(QStringLiteral("a"));
    const QString b = picture(QStringLiteral("b"));
    cache->store(a, thumb(Qt::red), false, true);
    cache->store(b, thumb(Qt::blue), false, true);
    EXPECT_FALSE(cache->lookupMemory(a));
    const auto image = cache->loadFromDisk(a);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), QSize(90, 67));
    EXPECT_EQ(cache->diskLines(), (QStringList{b, a}));
}

TEST_F(ThumbCacheTest, ACaseVariantFindsTheLineButStoresAFileOfItsOwn) {
    auto cache = makeCache();
    const QString path = picture(QStringLiteral("case"));
    cache->store(path, thumb(), false, true);
    const QString variant = QFileInfo(path).absolutePath() + QStringLiteral("/CASE00.JPG");
    EXPECT_TRUE(cache->hasDiskLine(variant));
    // The file is named after the line's own spelling, so the variant still loads it.
    EXPECT_TRUE(cache->loadFromDisk(variant));
    EXPECT_NE(cache->thumbFileName(variant, noon), cache->thumbFileName(path, noon));
}

TEST_F(ThumbCacheTest, AChangedPictureMissesAndGetsASecondLine) {
    auto cache = makeCache();
    const QString path = picture(QStringLiteral("edited"));
    cache->store(path, thumb(), false, true);
    const QString oldFile = cache->thumbFileName(path);
    ASSERT_TRUE(setModified(path, noon.addDays(3)));
    EXPECT_FALSE(cache->loadFromDisk(path));
    cache->store(path, thumb(), false, true);
    EXPECT_NE(cache->thumbFileName(path), oldFile);
    EXPECT_EQ(cache->diskLines(), (QStringList{path, path}));
    // The old file is never deleted by a rule that names files by the current time.
    cache->remove(path, ThumbCache::Which::Both);
    EXPECT_TRUE(QFileInfo::exists(cacheDir + u'/' + oldFile));
    EXPECT_TRUE(cache->diskLines().isEmpty());
}

TEST_F(ThumbCacheTest, TheOldestLineAndItsFileGoWhenTheLimitIsPassed) {
    auto cache = makeCache(3);
    const QStringList paths = writePictures(pictures, 4, QStringLiteral("e"));
    for (const QString& p : paths)
        cache->store(p, thumb(), false, true);
    EXPECT_EQ(cache->diskLines(), paths.mid(1));
    EXPECT_FALSE(QFileInfo::exists(cacheDir + u'/' + cache->thumbFileName(paths[0])));
    EXPECT_EQ(thumbFiles(cacheDir).size(), 3);
}

TEST_F(ThumbCacheTest, TheIndexIsWrittenAtEveryThirtyFirstAdditionAndAtTheEnd) {
    const QStringList paths = writePictures(pictures, 51, QStringLiteral("s"));
    {
        auto cache = makeCache();
        for (int i = 0; i < 30; ++i)
            cache->store(paths[i], thumb(), true, true);
        EXPECT_FALSE(QFileInfo::exists(cacheDir + QStringLiteral("/~cche.idx")));
        cache->store(paths[30], thumb(), true, true);
        EXPECT_EQ(indexLines(cacheDir), paths.mid(0, 31));
        EXPECT_EQ(cache->additionsSinceSave(), 0);
        for (int i = 31; i < 51; ++i)
            cache->store(paths[i], thumb(), true, true);
        EXPECT_EQ(indexLines(cacheDir).size(), 31);
    }
    // Destroying the cache saves what the last twenty additions brought.
    EXPECT_EQ(indexLines(cacheDir), paths);
    EXPECT_EQ(thumbFiles(cacheDir).size(), 51);
}

TEST_F(ThumbCacheTest, AnEmptiedListRemovesTheIndex) {
    auto cache = makeCache();
    const QString path = picture(QStringLiteral("x"));
    cache->store(path, thumb(), false, true);
    cache->saveIndex();
    ASSERT_EQ(indexLines(cacheDir).size(), 1);
    cache->remove({}, ThumbCache::Which::Both);
    cache->saveIndex();
    EXPECT_FALSE(QFileInfo::exists(cacheDir + QStringLiteral("/~cche.idx")));
    EXPECT_TRUE(thumbFiles(cacheDir).isEmpty());
}

TEST_F(ThumbCacheTest, ASuspendedCacheWritesNothingAndResumesWithTheOtherGridsIndex) {
    const QStringList paths = writePictures(pictures, 3, QStringLiteral("g"));
    auto main = makeCache();
    main->store(paths[0], thumb(), true, true);
    main->suspend();
    EXPECT_EQ(indexLines(cacheDir), paths.mid(0, 1));
    main->store(paths[1], thumb(), true, true);
    EXPECT_EQ(thumbFiles(cacheDir).size(), 1);
    {
        // The dialog's grid on the same folder adds a thumbnail and saves when it closes.
        auto dialog = makeCache();
        dialog->store(paths[2], thumb(), true, true);
    }
    main->saveIndex(); // ignored while suspended
    EXPECT_EQ(indexLines(cacheDir), (QStringList{paths[0], paths[2]}));
    main->resume();
    EXPECT_EQ(main->diskLines(), (QStringList{paths[0], paths[2]}));
    EXPECT_TRUE(main->lookupMemory(paths[1])); // memory is not the disk cache
}

TEST_F(ThumbCacheTest, NoFolderOrALimitOfZeroMeansNoDiskCache) {
    const QString path = picture(QStringLiteral("z"));
    ThumbCache off(functions);
    off.setMaxDiskCount(0);
    off.setDiskCacheDirectory(cacheDir);
    off.store(path, thumb(), true, true);
    EXPECT_TRUE(thumbFiles(cacheDir).isEmpty());
    EXPECT_TRUE(off.lookupMemory(path));

    QFile blocker(makeTempDir() + QStringLiteral("/file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    ThumbCache unusable(functions);
    unusable.setDiskCacheDirectory(blocker.fileName() + QStringLiteral("/Cache"));
    EXPECT_TRUE(unusable.diskCacheDirectory().isEmpty());
    unusable.store(path, thumb(), true, true); // silently memory only
    EXPECT_FALSE(unusable.loadFromDisk(path));
}

TEST_F(ThumbCacheTest, TheMemoryRingWrapsAndForgetsItsOldestSlot) {
    ThumbCache cache(functions, 3);
    const QStringList paths = writePictures(pictures, 4, QStringLiteral("m"));
    for (const QString& p : paths)
        cache.store(p, thumb(), true, false);
    EXPECT_FALSE(cache.lookupMemory(paths[0]));
    EXPECT_TRUE(cache.lookupMemory(paths[3].toLower()));
    cache.remove(paths[3], ThumbCache::Which::Memory);
    EXPECT_FALSE(cache.lookupMemory(paths[3]));
}

TEST_F(ThumbCacheTest, DiskLimitFollowsFreeSpace) {
    EXPECT_EQ(DiskCacheLimitForFreeSpace(262144001), 15000);
    EXPECT_EQ(DiskCacheLimitForFreeSpace(262144000), 5000);
    EXPECT_EQ(DiskCacheLimitForFreeSpace(104857601), 5000);
    EXPECT_EQ(DiskCacheLimitForFreeSpace(104857600), 1000);
    EXPECT_EQ(DiskCacheLimitForFreeSpace(-1), 1000);
}
