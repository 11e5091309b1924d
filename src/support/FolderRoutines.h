#pragma once

#include <QString>
#include <QStringList>

namespace korvex {

class Prompter;

// path when nothing of that name exists, otherwise the first free ExcludeSlash(path) +
// separator + n for n = 2, 3, …
QString UniqueFolderName(const QString& path, const QString& separator = QStringLiteral("_"));

// Creates path with every missing parent; true when the folder exists at the end. The empty path
// and the root are left alone (false). With ask the user is first asked whether to create it;
// with report a failure is shown. Both go through the prompter; without one nothing is shown and
// the question counts as declined.
bool ForceFolder(const QString& path, bool ask, bool report, Prompter* prompter = nullptr);

// The entries of folder (files and folders, "." and ".." excepted) that match mask ("*.*" is
// everything; matched without regard to case) and whose extension passes ExtensionInList. As
// IncludeSlash(folder) + name with fullPaths, as the name without extension with namesOnly,
// otherwise as the name; sorted by name. False for a folder that does not exist, shown with report.
bool ListFiles(QStringList& list, const QString& folder, const QString& extensions,
               const QString& mask = QStringLiteral("*.*"), bool report = false,
               bool namesOnly = false, bool fullPaths = false, Prompter* prompter = nullptr);

} // namespace korvex
