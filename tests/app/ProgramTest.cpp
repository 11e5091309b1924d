// Starts the real program as a process: the monitor switches and the hand-over of a second start.
#include "TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Each run gets its own settings, and its own copy of the program so that its "Log.txt" (kept
// beside the executable) is its own too.
struct Sandbox {
    Sandbox() {
        root = korvex::test::makeTempDir(QStringLiteral("program"));
        for (const char* sub : {"/config", "/data", "/cache", "/runtime", "/bin"})
            QDir().mkpath(root + QLatin1String(sub));
        QFile::setPermissions(root + QStringLiteral("/runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        exe = root + QStringLiteral("/bin/korvex");
        QFile::copy(korvex::test::binDir() + QStringLiteral("/korvex"), exe);
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/data"));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), root + QStringLiteral("/cache"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root + QStringLiteral("/runtime"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    QString settingsFile() const {
        return root + QStringLiteral("/config/Corvanta/Corvanta Express.ini");
    }
    QString settings() const {
        QFile f(settingsFile());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    QString log() const {
        QFile f(root + QStringLiteral("/bin/Log.txt"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    void start(QProcess& p, const QStringList& args) const {
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(exe, args);
        EXPECT_TRUE(p.waitForStarted(5000))
            << p.errorString().toStdString() << " " << exe.toStdString();
    }
    QString root, exe;
    QProcessEnvironment env;
};

bool waitFor(const std::function<bool()>& condition, int ms) {
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > ms)
            return false;
        QTest::qWait(50);
    }
    return true;
}

} // namespace

TEST(ProgramTest, MonitorSwitchesWriteTheSettingAndEndWithoutAWindow) {
    Sandbox box;
    // A display that does not exist: any attempt to open a window would fail the run.
    box.env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    box.env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":4242"));
    struct Case {
        const char* argument;
        const char* value;
    };
    for (const Case c :
         {Case{"/CAMOFF", "UseAppforCamera=False"}, Case{"/monitor", "UseAppforCamera=True"}}) {
        QProcess p;
        QElapsedTimer t;
        t.start();
        box.start(p, {QString::fromUtf8(c.argument)});
        ASSERT_TRUE(p.waitForFinished(5000));
        EXPECT_LT(t.elapsed(), 1000) << c.argument;
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0) << c.argument;
        EXPECT_TRUE(box.settings().contains(QString::fromUtf8(c.value)))
            << box.settings().toStdString();
    }
}

TEST(ProgramTest, CameraOffRemovesTheMonitorsAutostartEntry) {
    Sandbox box;
    const QString entry = box.root + QStringLiteral("/config/autostart/korvex-monitor.desktop");
    QDir().mkpath(box.root + QStringLiteral("/config/autostart"));
    QFile f(entry);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    QProcess p;
    box.start(p, {QStringLiteral("/CAMOFF")});
    ASSERT_TRUE(p.waitForFinished(5000));
    EXPECT_FALSE(QFile::exists(entry));
}

TEST(ProgramTest, SecondStartHandsOverTenArgumentsAndTheFirstClosesCleanlyOnSigterm) {
    Sandbox box;
    QDir().mkpath(box.root + QStringLiteral("/config/Corvanta"));
    QFile settings(box.settingsFile());
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Values]\nShowStartUp=False\n");
    settings.close();

    QProcess first;
    box.start(first, {QStringLiteral("/DEBUG")});
    ASSERT_TRUE(waitFor([&] { return box.log().contains(QStringLiteral("Setup: Ready")); }, 15000))
        << box.log().toStdString();

    const QString picture = box.root + QStringLiteral("/picture.jpg");
    QStringList args = {picture};
    for (int i = 1; i < 11; ++i)
        args << (i == 4 ? QString(400, u'x') : QStringLiteral("arg%1").arg(i));
    QProcess second;
    box.start(second, args);
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);

    ASSERT_TRUE(waitFor([&] { return box.log().contains(QStringLiteral("Arguments=")); }, 10000));
    const QString log = box.log();
    EXPECT_TRUE(log.contains(QStringLiteral("Arguments=10\r\n")));
    EXPECT_TRUE(log.contains(QStringLiteral("Argument=") + picture + QStringLiteral("\r\n")));
    EXPECT_TRUE(
        log.contains(QStringLiteral("Argument=") + QString(300, u'x') + QStringLiteral("\r\n")));
    EXPECT_FALSE(log.contains(QString(301, u'x')));
    EXPECT_TRUE(log.contains(QStringLiteral("Argument=arg9\r\n")));
    EXPECT_FALSE(log.contains(QStringLiteral("arg10")));

    // A desktop logging out: the close sequence still runs and saves the settings.
    first.terminate();
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_TRUE(box.log().contains(QStringLiteral("FormClose: Closing...")));
    EXPECT_TRUE(box.settings().contains(QStringLiteral("SPWidth=")));
}
