#include "FuzzMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>

namespace korvex::fuzz {

namespace {

QTemporaryDir* g_scratch = nullptr;

} // namespace

void initialize(int* argc, char*** argv, const std::function<void(const QString&)>& writeSeeds) {
    // Qt reads HOME and the XDG variables when it first needs them: set them before anything.
    g_scratch = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/korvex-fuzz-XXXXXX"));
    const QByteArray root = g_scratch->path().toUtf8();
    qputenv("HOME", root + "/home");
    qputenv("XDG_CONFIG_HOME", root + "/home/.config");
    qputenv("XDG_DATA_HOME", root + "/home/.local/share");
    qputenv("XDG_CACHE_HOME", root + "/home/.cache");
    for (const char* sub : {"/home/.config", "/home/.local/share", "/home/.cache"})
        QDir().mkpath(QString::fromUtf8(root + sub));

    static int qtArgc = 1;
    static char name[] = "korvex-fuzz";
    static char* qtArgv[] = {name, nullptr};
    // The application lives until the process ends: libFuzzer leaves through exit(), and
    // destroying it from a static destructor runs after Qt's own globals are gone. The scratch
    // folder goes in an exit handler, which runs while Qt is still whole.
    static QCoreApplication* app = new QCoreApplication(qtArgc, qtArgv);
    Q_UNUSED(app);
    std::atexit([] { delete g_scratch; });
    // Qt complains about every broken file; at thousands of files a second that drowns the
    // fuzzer's own report.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});

    const char* prefix = "-seed_corpus_dir=";
    for (int i = 1; i < *argc; ++i) {
        if (std::strncmp((*argv)[i], prefix, std::strlen(prefix)) == 0) {
            const QString dir = QString::fromLocal8Bit((*argv)[i] + std::strlen(prefix));
            QDir().mkpath(dir);
            writeSeeds(dir);
            delete g_scratch;
            std::_Exit(0); // the seeds are closed; skip tearing down Qt under the sanitizers
        }
    }
}

QString scratchPath(const QString& name) {
    return g_scratch->filePath(name);
}

QString dataDir() {
    return QStringLiteral(KORVEX_TEST_DATA);
}

QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size() && file.flush();
}

} // namespace korvex::fuzz
