#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

#ifdef KORVEX_TEST_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
    // Environment first: Qt reads HOME and the XDG variables when it first needs them.
    QTemporaryDir sandbox(QDir::tempPath() + QStringLiteral("/korvex-test-XXXXXX"));
    if (!sandbox.isValid())
        return 2;
    const QByteArray root = sandbox.path().toUtf8();
    qputenv("KORVEX_TEST_SANDBOX", root);
    qputenv("HOME", root + "/home");
    qputenv("XDG_CONFIG_HOME", root + "/home/.config");
    qputenv("XDG_DATA_HOME", root + "/home/.local/share");
    qputenv("XDG_CACHE_HOME", root + "/home/.cache");
    qputenv("XDG_RUNTIME_DIR", root + "/runtime");
    for (const char* sub : {"/home/.config", "/home/.local/share", "/home/.cache", "/runtime",
                            "/home/Pictures", "/home/Desktop", "/tmp"})
        QDir().mkpath(QString::fromUtf8(root + sub));
    QFile::setPermissions(QString::fromUtf8(root + "/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // The machine's proxy settings must not leak into tests (the first run offers them).
    for (const char* name : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy",
                             "ALL_PROXY", "no_proxy", "NO_PROXY"})
        qunsetenv(name);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

#ifdef KORVEX_TEST_GUI
    // The embedded browser needs a shared GL context, and no sandbox when run as root.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
