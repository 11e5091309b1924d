#pragma once

#include <QByteArray>
#include <QString>

namespace korvex::test {

// The per-binary sandbox: a temporary folder that HOME and every XDG variable point into.
QString sandboxRoot();

// A fresh empty folder inside the sandbox, unique for each call.
QString makeTempDir(const QString& hint = QStringLiteral("t"));

// Folder of the built executables (build/bin) and of the committed fixtures (tests/data).
QString binDir();

// A small file for a test, its folder made first; a failure fails the test.
void writeFile(const QString& path, const QByteArray& content = "x");
// The whole file, or empty when it cannot be read.
QByteArray readFile(const QString& path);
QString dataDir();

} // namespace korvex::test
