#include "browse/ThumbProvider.h"

#include "BrowseFixtures.h"
#include "TestEnvironment.h"
#include "browse/CheckList.h"
#include "imaging/DecodeQueue.h"
#include "imaging/IEFunctions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::test;

namespace {

class ThumbProviderTest : public ::testing::Test {
protected:
    void SetUp() override {
        pictures = makeTempDir(QStringLiteral("pictures"));
        cacheDir = makeTempDir(QStringLiteral("cache"));
        provider.cache().setMaxDiskCount(1000);
        provider.cache().setDiskCacheDirectory(cacheDir);
    }
    ThumbProvider::Result waitForThumb(const QString& path) {
        ThumbProvider::Result r = provider.thumbnailFor(path, 1);
        waitUntil([&] {
            r = provider.thumbnailFor(path, 1);
            return r.state != ThumbProvider::State::Pending;
        });
        return r;
    }

    TIEFunctions functions;
    DecodeQueue queue;
    ThumbProvider provider{functions, queue};
    QString pictures, cacheDir;
};

} // namespace

TEST_F(ThumbProviderTest, AMissingThumbnailIsMadeOffTheGuiThreadFittedAndStoredTwice) {
    const QStringList paths = {writePictures(pictures, 1, QStringLiteral("wide"), 640, 480)[0],
                               writePictures(pictures, 1, QStringLiteral("tall"), 300, 600)[0],
                               writePictures(pictures, 1, QStringLiteral("tiny"), 30, 20)[0]};
    const QSize expected[] = {QSize(90, 68), QSize(38, 75), QSize(90, 60)};
    QSignalSpy ready(&provider, &ThumbProvider::thumbnailReady);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(provider.thumbnailFor(paths[i], 1).state, ThumbProvider::State::Pending);
        const ThumbProvider::Result r = waitForThumb(paths[i]);
        ASSERT_EQ(r.state, ThumbProvider::State::Ready) << i;
        // Fitted to touch the 90 x 75 box, small pictures enlarged.
        EXPECT_NEAR(r.image.width(), expected[i].width(), 1) << i;
        EXPECT_NEAR(r.image.height(), expected[i].height(), 1) << i;
        EXPECT_TRUE(QFileInfo::exists(provider.cache().thumbFilePath(paths[i])));
    }
    EXPECT_EQ(ready.size(), 3);
    EXPECT_EQ(provider.cache().diskLines(), paths);
}

TEST_F(ThumbProviderTest, AnUnpluggedFolderCostsOneFailedAccess) {
    const QString card = makeTempDir(QStringLiteral("card"));
    const QStringList paths = writePictures(card, 12, QStringLiteral("dsc"));
    QStringList probed;
    provider.setFileProbe([&](const QString& path) {
        probed << path;
        return QFileInfo::exists(path);
    });
    ASSERT_TRUE(QDir(card).removeRecursively()); // the card is pulled out
    for (const QString& path : paths)
        EXPECT_EQ(provider.thumbnailFor(path, 1).state, ThumbProvider::State::Failed);
    // The first cell looks for its file and then its folder; the others know at once.
    EXPECT_EQ(probed, (QStringList{paths[0], card}));
    EXPECT_EQ(provider.missingFolder(), card.toUpper());
    EXPECT_EQ(queue.pending(), 0);

    // A reload forgets the folder: the card may be back.
    provider.clearMissingFolder();
    provider.reset();
    probed.clear();
    provider.thumbnailFor(paths[1], 1);
    EXPECT_EQ(probed.size(), 2);
}

TEST_F(ThumbProviderTest, UnsupportedAndBrokenFilesFailWithoutBlockingTheOthers) {
    const QString png = pictures + QStringLiteral("/shot.png");
    QImage(20, 20, QImage::Format_RGB32).save(png);
    QFile broken(pictures + QStringLiteral("/broken.jpg"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\xFF\xD8\xFF\xE0 not really a picture");
    broken.close();
    EXPECT_EQ(provider.thumbnailFor(png, 1).state, ThumbProvider::State::Failed);
    EXPECT_EQ(waitForThumb(broken.fileName()).state, ThumbProvider::State::Failed);
    // Remembered: drawing the cell again does not ask the decoder again.
    EXPECT_EQ(provider.thumbnailFor(broken.fileName(), 1).state, ThumbProvider::State::Failed);
    EXPECT_EQ(queue.pending(), 0);
    const QString good = writePictures(pictures, 1)[0];
    EXPECT_EQ(waitForThumb(good).state, ThumbProvider::State::Ready);

    // A stand-in picture for other formats.
    provider.setNonSupportedFormatThumb(good);
    EXPECT_EQ(provider.thumbnailFor(png, 1).state, ThumbProvider::State::Ready);
}

TEST_F(ThumbProviderTest, IdleStepsBuildEveryMissingDiskThumbnailButNotTheMemoryRing) {
    TCheckList list;
    QStringList items;
    for (const QString& p : writePictures(pictures, 20, QStringLiteral("pre")))
        items << u';' + p;
    list.setItems(items);
    QSignalSpy wanted(&provider, &ThumbProvider::idleWanted);
    ASSERT_TRUE(waitUntil([&] {
        while (provider.IdleStep(list)) {
        }
        return provider.preCachePosition() >= list.count() && provider.pendingCount() == 0;
    }));
    EXPECT_EQ(thumbFiles(cacheDir).size(), 20);
    EXPECT_FALSE(provider.cache().lookupMemory(list.path(0)));
    EXPECT_GE(wanted.size(), 20);
    // A second folder visit finds them all on disk and queues nothing.
    provider.reset();
    while (provider.IdleStep(list)) {
    }
    EXPECT_EQ(queue.pending(), 0);
    EXPECT_EQ(provider.thumbnailFor(list.path(5), 1).state, ThumbProvider::State::Ready);
}

TEST_F(ThumbProviderTest, APictureThatCannotBeMadeStopsPreCachingOfTheFolder) {
    QFile broken(pictures + QStringLiteral("/a-broken.jpg"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("garbage");
    broken.close();
    TCheckList list;
    QStringList items{u';' + broken.fileName()};
    for (const QString& p : writePictures(pictures, 3, QStringLiteral("b")))
        items << u';' + p;
    list.setItems(items);
    provider.IdleStep(list);
    ASSERT_TRUE(waitUntil([&] { return provider.pendingCount() == 0; }));
    EXPECT_GT(provider.preCachePosition(), list.count());
    EXPECT_FALSE(provider.IdleStep(list));
}
