// Opening a folder of camera pictures: how long until every thumbnail is on disk with a cold
// cache, how long the GUI thread is ever held up meanwhile, and how soon a warm-cache reopen has
// painted its first screen.
//
//   browse_bench make DIR COUNT     writes COUNT camera-size JPEGs (a few distinct ones, copied)
//   browse_bench measure DIR CACHE  opens DIR in a 1280 x 800 window with its cache in CACHE
#include "TestPictures.h"
#include "browse/FolderBrowser.h"
#include "browse/ui/BrowsePanel.h"
#include "browse/ui/XCheckThumbGrid.h"
#include "imaging/IEFunctions.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <cstdio>

using namespace korvex;

namespace {

int makePictures(const QString& dir, int count) {
    QDir().mkpath(dir);
    constexpr int distinct = 6;
    QList<QByteArray> originals;
    for (int i = 0; i < distinct; ++i) {
        test::JpegRecipe recipe;
        recipe.width = 4000;
        recipe.height = 3000;
        recipe.quality = 92;
        recipe.photo = true;
        recipe.exif = true;
        recipe.exifThumbnail = true;
        recipe.seed = quint32(i + 1);
        originals << test::makeJpeg(recipe);
    }
    for (int i = 0; i < count; ++i)
        test::writeFile(dir, QStringLiteral("DSC%1.JPG").arg(i, 5, 10, QLatin1Char('0')),
                        originals[i % distinct]);
    return 0;
}

// The longest gap between two turns of the event loop, seen by a 5 ms timer.
class StallWatch : public QObject {
public:
    StallWatch() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const qint64 gap = m_clock.nsecsElapsed();
            m_clock.restart();
            m_longest = std::max(m_longest, gap - 5'000'000);
        });
    }
    void start() {
        m_longest = 0;
        m_clock.start();
        m_timer.start();
    }
    double longestMs() const { return m_longest / 1e6; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

int countThumbs(const QString& cache) {
    return int(QDir(cache).entryList({QStringLiteral("~x*")}, QDir::Files).size());
}

// The window of the program at 1280 x 800 gives its panel four columns.
std::unique_ptr<BrowsePanel> makePanel(TIEFunctions& functions, const QString& cache) {
    auto panel = std::make_unique<BrowsePanel>(functions, nullptr, QStringLiteral("bench"));
    panel->resize(17 + 106 * 4 + 35, 700);
    panel->setCacheFolder(cache);
    panel->show();
    return panel;
}

int measure(const QString& dir, const QString& cache) {
    TIEFunctions functions;
    QDir(cache).removeRecursively();
    const int total = int(QDir(dir).entryList({QStringLiteral("*.JPG")}, QDir::Files).size());

    // Cold: the folder opens, the visible cells come first, idle steps do the rest.
    double coldSeconds = 0;
    double stall = 0;
    {
        auto panel = makePanel(functions, cache);
        QTimer idle;
        idle.setSingleShot(true);
        idle.setInterval(0);
        QObject::connect(&idle, &QTimer::timeout, [&] {
            if (panel->idleStep())
                idle.start();
        });
        QObject::connect(panel.get(), &BrowsePanel::idleWanted, [&] { idle.start(); });
        StallWatch watch;
        QElapsedTimer clock;
        clock.start();
        watch.start();
        panel->browser().Change2Directory(dir);
        idle.start();
        // Looking at the folder costs CPU the decoders need: ten times a second is enough.
        QEventLoop done;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (countThumbs(cache) >= total || clock.elapsed() > 600000)
                done.quit();
        });
        poll.start(100);
        done.exec();
        coldSeconds = clock.elapsed() / 1000.0;
        stall = watch.longestMs();
    }

    // Warm: a new panel (empty memory ring) opens the same folder and paints its first screen.
    double warmMs = 0;
    {
        auto panel = makePanel(functions, cache);
        QApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        panel->browser().Change2Directory(dir);
        panel->grid().viewport()->repaint();
        warmMs = clock.nsecsElapsed() / 1e6;
        int visible =
            std::min(total, panel->grid().columnCount() * (panel->grid().visibleRowCount() + 1));
        int ready = 0;
        for (int i = 0; i < visible; ++i)
            ready +=
                panel->grid().cache().lookupMemory(panel->browser().fileList().path(i)) ? 1 : 0;
        std::printf("warm first screen: %.1f ms (%d of %d visible cells from the cache)\n", warmMs,
                    ready, visible);
    }
    std::printf("cold: %d thumbnails on disk in %.2f s (%.1f per second), longest GUI stall "
                "%.1f ms\n",
                total, coldSeconds, total / coldSeconds, stall);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == u"make")
        return makePictures(args[2], args[3].toInt());
    if (args.size() == 4 && args[1] == u"measure")
        return measure(args[2], args[3]);
    std::fprintf(stderr, "usage: browse_bench make DIR COUNT | measure DIR CACHE\n");
    return 2;
}
