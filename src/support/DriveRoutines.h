#pragma once

#include "platform/Drives.h"

#include <QString>

namespace korvex {

// A "drive" is the mounted volume holding a path; a path that does not exist yet is looked up
// through its nearest existing parent folder.

// Free bytes this user may write on the volume of path, or -1 when that cannot be read.
qint64 DiskFreeBytes(const QString& path, const Drives& drives = Drives::system());

// Unknown for an empty path; Removable when no mounted volume holds the path.
DriveType DriveTypeOf(const QString& path, const Drives& drives = Drives::system());

// A removable or optical volume; false for an empty path or on failure.
bool IsRemovableDrive(const QString& path, const Drives& drives = Drives::system());

} // namespace korvex
