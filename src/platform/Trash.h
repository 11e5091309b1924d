#pragma once

#include <QString>

namespace korvex {

// Moves a file or folder to the user's freedesktop trash. False when the trash cannot take it
// (for instance a file on a volume without a trash folder); the file then stays where it was.
bool moveToTrash(const QString& path, QString* pathInTrash = nullptr);

} // namespace korvex
