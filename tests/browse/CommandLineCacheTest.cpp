// Starts the real program on a picture and looks at the thumbnail cache it leaves behind.
#include "BrowseFixtures.h"
#include "TestEnvironment.h"
#include "support/CacheKey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <gtest/gtest.h>

using namespace korvex::test;

TEST(CommandLineCacheTest, APictureOnTheCommandLineFillsTheCacheWithItsWholeFolder) {
    const QString root = makeTempDir(QStringLiteral("program"));
    for (const char* sub : {"/config/Corvanta", "/data", "/cache", "/runtime"})
        QDir().mkpath(root + QLatin1String(sub));
    QFile::setPermissions(root + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile settings(root + QStringLiteral("/config/Corvanta/Corvanta Express.ini"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Values]\nShowStartUp=False\n");
    settings.close();
    const QString pictures = makeTempDir(QStringLiteral("Holiday Ä"));
    const QStringList paths = writePictures(pictures, 40, QStringLiteral("IMG_"), 800, 600);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), root + QStringLiteral("/cache"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root + QStringLiteral("/runtime"));
    if (!env.contains(QStringLiteral("DISPLAY")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(binDir() + QStringLiteral("/korvex"), {paths[7]});
    ASSERT_TRUE(program.waitForStarted(5000));

    const QString cache = root + QStringLiteral("/cache/Corvanta/Corvanta Express/Cache");
    EXPECT_TRUE(waitUntil([&] { return thumbFiles(cache).size() == paths.size(); }, 60000))
        << thumbFiles(cache).size();
    program.terminate();
    ASSERT_TRUE(program.waitForFinished(10000));

    // One thumbnail per picture, named after it, and an index that lists each once.
    QSet<QString> expected;
    for (const QString& path : paths)
        expected.insert(QStringLiteral("~x15") +
                        korvex::FileCacheKey(path, QFileInfo(path).lastModified()) +
                        QStringLiteral(".jpg"));
    const QStringList files = thumbFiles(cache);
    EXPECT_EQ(QSet<QString>(files.begin(), files.end()), expected);
    QStringList lines = indexLines(cache);
    lines.sort();
    EXPECT_EQ(lines, paths);
    QFile recent(root + QStringLiteral("/data/Corvanta/Corvanta Express/recent.dat"));
    ASSERT_TRUE(recent.open(QIODevice::ReadOnly));
    EXPECT_EQ(recent.readAll(), (pictures + QStringLiteral("/\r\n")).toUtf8());
}
