#pragma once

#include <QString>

namespace korvex {

// Shortcuts are freedesktop ".desktop" entries: a program becomes an "Application" entry whose
// Exec runs it, anything else a "Link" entry with its file URL; Path holds the target's folder.

// Writes a shortcut to target under linkName with its extension changed to ".desktop". An
// existing file of that name stays; with renameOnCollision the shortcut goes to the first free
// "name (n).desktop" instead. False when nothing was written (the name is taken, or the file
// cannot be written).
bool CreateShortcut(const QString& target, const QString& linkName, bool renameOnCollision);

// ".desktop" or ".lnk", in any case.
bool IsShortcut(const QString& path);

// The target a shortcut file names; empty when it cannot be read or names none.
QString GetShortcutTarget(const QString& path);

// The target of a shortcut, or path itself when it is not one or names nothing.
QString ResolveShortcut(const QString& path);

} // namespace korvex
