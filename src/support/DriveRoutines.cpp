#include "DriveRoutines.h"

#include <QDir>
#include <QFileInfo>

namespace korvex {

namespace {

std::optional<Volume> volumeHolding(const QString& path, const Drives& drives) {
    if (path.trimmed().isEmpty())
        return std::nullopt;
    QString existing = QDir::cleanPath(QFileInfo(path.trimmed()).absoluteFilePath());
    while (!QFileInfo::exists(existing) && existing != u"/")
        existing = QFileInfo(existing).absolutePath();
    return drives.volumeOf(existing);
}

} // namespace

qint64 DiskFreeBytes(const QString& path, const Drives& drives) {
    const auto volume = volumeHolding(path, drives);
    return volume ? volume->bytesAvailable : -1;
}

DriveType DriveTypeOf(const QString& path, const Drives& drives) {
    if (path.trimmed().isEmpty())
        return DriveType::Unknown;
    const auto volume = volumeHolding(path, drives);
    return volume ? volume->type : DriveType::Removable;
}

bool IsRemovableDrive(const QString& path, const Drives& drives) {
    if (path.trimmed().isEmpty())
        return false;
    const auto volume = volumeHolding(path, drives);
    return volume && (volume->type == DriveType::Removable || volume->type == DriveType::CDRom);
}

} // namespace korvex
