#include "TestEnvironment.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace korvex::test {

QString sandboxRoot() {
    return qEnvironmentVariable("KORVEX_TEST_SANDBOX");
}

QString makeTempDir(const QString& hint) {
    static QAtomicInt counter;
    const QString path =
        QStringLiteral("%1/tmp/%2-%3").arg(sandboxRoot(), hint).arg(counter.fetchAndAddOrdered(1));
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        ADD_FAILURE() << "cannot write " << qPrintable(path);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString binDir() {
    return QStringLiteral(KORVEX_BIN_DIR);
}
QString dataDir() {
    return QStringLiteral(KORVEX_TEST_DATA);
}

} // namespace korvex::test
