// Takes the screenshots in docs/screenshots: the main window, the About box and a page of the
// quick start guide, each as a user sees it on a 1280 x 800 screen. Run by
// scripts/screenshots.sh under a virtual X server with a throw-away home folder.
#include "app/AppContext.h"
#include "app/ui/AboutBox.h"
#include "app/ui/MainWindow.h"
#include "app/ui/QuickStart.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QWebEngineView>

using namespace korvex;

namespace {

void settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool shoot(QWidget* w, const QString& file) {
    settle(400);
    const QRect area = w->frameGeometry();
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .save(file);
}

// A folder of sunsets standing in for a day's photographs; returns the one to show.
QString samplePictures(const QString& folder) {
    const QColor skies[] = {QColor(0x2b, 0x4c, 0x7e), QColor(0x1f, 0x6f, 0x8b),
                            QColor(0x5a, 0x3d, 0x7a), QColor(0x2e, 0x7d, 0x5b),
                            QColor(0x8b, 0x2f, 0x3c), QColor(0x35, 0x5c, 0x9e)};
    QString shown;
    for (int i = 0; i < 12; ++i) {
        QImage image(1600, 1067, QImage::Format_RGB32);
        QPainter p(&image);
        QLinearGradient sky(0, 0, 0, 1067);
        sky.setColorAt(0, skies[i % 6]);
        sky.setColorAt(0.55, QColor(0xf5, 0xa6 - 6 * i, 0x23 + 8 * i));
        sky.setColorAt(1, QColor(0x6b, 0x3a, 0x1f));
        p.fillRect(image.rect(), sky);
        p.setBrush(QColor(0xff, 0xe0, 0x8a));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPoint(300 + 90 * i, 480 + 15 * i), 120, 120);
        p.setBrush(QColor(0x1d, 0x26, 0x33));
        p.drawRect(0, 700, 1600, 367);
        p.end();
        const QString file =
            folder + QStringLiteral("/Sunset %1.jpg").arg(i + 1, 2, 10, QChar(u'0'));
        image.save(file, "JPEG", 90);
        if (i == 4)
            shown = file;
    }
    return shown;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    AppContext context(QCoreApplication::applicationDirPath());
    context.settings.ShowStartUp = false;

    TfrmMain window(context, {});
    window.startUp();
    settle(2500); // the splash goes after 1750 ms
    window.setGeometry(40, 30, 1200, 740);
    const QString folder = QDir::tempPath() + QStringLiteral("/Holiday pictures");
    QDir().mkpath(folder);
    window.directshow(samplePictures(folder));
    settle(3000); // thumbnails are made in the background
    bool ok = shoot(&window, out + QStringLiteral("/main-window.png"));

    TdlgAboutBox about(context.dataFile(QStringLiteral("Splash.xdl")), context.names.product,
                       &window);
    about.show();
    ok = shoot(&about, out + QStringLiteral("/about-box.png")) && ok;
    about.close();

    TdlgStartUp guide(context.dataFile(QStringLiteral("Guide/")), context.names.product, true,
                      &window);
    guide.show();
    guide.setPage(2);
    settle(2500);
    ok = shoot(&guide, out + QStringLiteral("/quick-start-guide.png")) && ok;
    return ok ? 0 : 1;
}
