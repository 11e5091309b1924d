#include "imaging/DecodeQueue.h"

#include "TestEnvironment.h"
#include "TestPictures.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace korvex;
using namespace korvex::test;

namespace {

struct Results {
    std::vector<quint64> order;
    std::map<quint64, QImage> images;
    std::map<quint64, QSize> fullSizes;
    std::map<quint64, QString> errors;
    void connect(DecodeQueue& queue) {
        QObject::connect(&queue, &DecodeQueue::decoded,
                         [this](quint64 id, const QString&, const QImage& image, QSize full) {
                             order.push_back(id);
                             images[id] = image;
                             fullSizes[id] = full;
                         });
        QObject::connect(&queue, &DecodeQueue::failed,
                         [this](quint64 id, const QString&, const QString& error) {
                             order.push_back(id);
                             errors[id] = error;
                         });
    }
};

bool drain(DecodeQueue& queue) {
    return QTest::qWaitFor([&] { return queue.pending() == 0; }, 20000);
}

} // namespace

TEST(DecodeQueue, DeliversFittedPicturesAndErrors) {
    const QString dir = makeTempDir();
    JpegRecipe recipe;
    recipe.width = 800;
    recipe.height = 600;
    const QString big = writeJpeg(dir, "big.jpg", recipe);
    recipe.width = 40;
    recipe.height = 20;
    const QString small = writeJpeg(dir, "small.jpg", recipe);
    const QString png = writeFile(dir, "p.png", encodeImage(patternImage(recipe), "png"));
    DecodeQueue queue;
    Results r;
    r.connect(queue);
    queue.request(big, QSize(90, 75), 1);
    queue.request(small, QSize(90, 75), 2); // never enlarged
    queue.request(png, QSize(), 3);
    queue.request(dir + "/gone.jpg", QSize(90, 75), 4);
    queue.request(writeFile(dir, "bad.jpg", "\xFF\xD8\xFF garbage"), QSize(90, 75), 5);
    ASSERT_TRUE(drain(queue));
    EXPECT_EQ(r.order.size(), 5u);
    EXPECT_EQ(r.images[1].size(), QSize(90, 68));
    EXPECT_EQ(r.fullSizes[1], QSize(800, 600));
    EXPECT_EQ(r.images[2].size(), QSize(40, 20));
    EXPECT_EQ(r.images[3].size(), QSize(40, 20));
    EXPECT_TRUE(r.errors[4].startsWith(u"File not found"));
    EXPECT_FALSE(r.errors[5].isEmpty());
}

// One worker, held on a pipe until every request is queued, makes the order observable: higher
// priority first, cancelled never delivered, a repeated id delivers only its last request.
TEST(DecodeQueue, PriorityCancelAndReplace) {
    const QString dir = makeTempDir();
    JpegRecipe recipe;
    recipe.width = 64;
    recipe.height = 48;
    const QByteArray jpeg = makeJpeg(recipe);
    const QString other = writeFile(dir, "other.jpg", jpeg);
    const QString first = dir + "/pipe.jpg";
    ASSERT_EQ(mkfifo(QFile::encodeName(first).constData(), 0600), 0);
    DecodeQueue queue(nullptr, 1);
    Results r;
    r.connect(queue);
    queue.request(first, QSize(), 100);
    // The writer end opens only once the worker waits at the reading end.
    int fd = -1;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return (fd = open(QFile::encodeName(first).constData(), O_WRONLY | O_NONBLOCK)) >= 0;
        },
        10000));
    for (quint64 id = 1; id <= 6; ++id)
        queue.request(other, QSize(90, 75), id, 0);
    queue.setPriority(5, 10);
    queue.request(other, QSize(90, 75), 6, 5);
    queue.request(other, QSize(16, 16), 3, 0); // replaces 3 and goes to the back of its rank
    queue.cancel(2);
    fcntl(fd, F_SETFL, 0);
    ASSERT_EQ(write(fd, jpeg.constData(), size_t(jpeg.size())), jpeg.size());
    close(fd);
    ASSERT_TRUE(drain(queue));
    EXPECT_EQ(r.order, (std::vector<quint64>{100, 5, 6, 1, 4, 3}));
    EXPECT_EQ(r.images[3].size(), QSize(16, 12));

    queue.request(other, QSize(), 7);
    queue.request(other, QSize(), 8);
    queue.cancelAll();
    EXPECT_EQ(queue.pending(), 0);
    QTest::qWait(300);
    EXPECT_EQ(r.order.size(), 6u);
}

TEST(DecodeQueue, DestroyingWithWorkRunningIsSafe) {
    const QString dir = makeTempDir();
    JpegRecipe recipe;
    recipe.width = 1200;
    recipe.height = 900;
    const QString path = writeJpeg(dir, "x.jpg", recipe);
    int delivered = 0;
    {
        DecodeQueue queue;
        QObject::connect(&queue, &DecodeQueue::decoded, [&] { ++delivered; });
        for (quint64 id = 0; id < 20; ++id)
            queue.request(path, QSize(), id);
    }
    QTest::qWait(100);
    EXPECT_EQ(delivered, 0);
}
