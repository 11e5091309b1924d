#include "DebugLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <cstdio>

namespace korvex {

namespace {
bool g_enabled = false;
bool g_firstCall = true;
QString g_folder;
} // namespace

namespace debuglog {
void enable() {
    g_enabled = true;
}
bool enabled() {
    return g_enabled;
}
void setFolder(const QString& folder) {
    g_folder = folder;
}
QString folder() {
    return g_folder;
}
void resetForTest() {
    g_enabled = false;
    g_firstCall = true;
}
} // namespace debuglog

void DebugLog(const QString& category, const QString& message) {
    if (!g_enabled)
        return;
    const QString log = QDir(g_folder).filePath(QStringLiteral("Log.txt"));
    if (g_firstCall) {
        const QString old = QDir(g_folder).filePath(QStringLiteral("Log.old"));
        if (QFile::exists(log)) {
            QFile::remove(old);
            QFile::copy(log, old);
        }
        QFile fresh(log);
        if (fresh.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fresh.write("\r\n");
    }
    g_firstCall = false;

    const QByteArray debugger =
        QStringLiteral("[Tavrin: %1] %2\r\n").arg(category, message).toLocal8Bit();
    std::fwrite(debugger.constData(), 1, size_t(debugger.size()), stderr);

    QFile file(log);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    const QString stamp = locale.toString(now.date(), QLocale::ShortFormat) + u' ' +
                          locale.toString(now.time(), QLocale::LongFormat);
    file.write(QStringLiteral("[%1] %2: %3\r\n").arg(stamp, category, message).toUtf8());
}

} // namespace korvex
