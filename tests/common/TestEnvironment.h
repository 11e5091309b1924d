#pragma once

#include <QString>

namespace korvex::test {

// The per-binary sandbox: a temporary folder that HOME and every XDG variable point into.
QString sandboxRoot();

// A fresh empty folder inside the sandbox, unique for each call.
QString makeTempDir(const QString& hint = QStringLiteral("t"));

// Folder of the built executables (build/bin) and of the committed fixtures (tests/data).
QString binDir();
QString dataDir();

} // namespace korvex::test
