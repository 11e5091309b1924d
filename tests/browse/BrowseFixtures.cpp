#include "BrowseFixtures.h"

#include "TestPictures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

namespace korvex::test {

QStringList writePictures(const QString& dir, int count, const QString& prefix, int width,
                          int height) {
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        JpegRecipe recipe;
        recipe.width = width;
        recipe.height = height;
        recipe.seed = quint32(i + 1);
        paths << writeJpeg(dir, prefix + QStringLiteral("%1.jpg").arg(i, 2, 10, QLatin1Char('0')),
                           recipe);
    }
    return paths;
}

bool setModified(const QString& path, const QDateTime& moment) {
    QFile f(path);
    return f.open(QIODevice::ReadWrite) && f.setFileTime(moment, QFileDevice::FileModificationTime);
}

bool waitUntil(const std::function<bool()>& condition, int ms) {
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > ms)
            return false;
        QTest::qWait(10);
    }
    return true;
}

QStringList thumbFiles(const QString& cacheFolder) {
    return QDir(cacheFolder).entryList({QStringLiteral("~x*")}, QDir::Files, QDir::Name);
}

QStringList indexLines(const QString& cacheFolder) {
    QFile f(cacheFolder + QStringLiteral("/~cche.idx"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace korvex::test
