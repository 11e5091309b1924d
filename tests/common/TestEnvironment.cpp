#include "TestEnvironment.h"

#include <QAtomicInt>
#include <QDir>

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

QString binDir() {
    return QStringLiteral(KORVEX_BIN_DIR);
}
QString dataDir() {
    return QStringLiteral(KORVEX_TEST_DATA);
}

} // namespace korvex::test
