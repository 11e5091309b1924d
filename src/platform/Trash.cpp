#include "Trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace korvex {

bool moveToTrash(const QString& path, QString* pathInTrash) {
    // Without the data folder Qt reports success and writes "files/" and "info/" into the
    // current folder instead of the trash.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty() || !QDir().mkpath(dataHome))
        return false;
    QString trashed;
    if (!QFile::moveToTrash(path, &trashed))
        return false;
    if (!QFileInfo(trashed).isAbsolute()) {
        // Put it back rather than leave the user's file in a stray folder.
        QFile::rename(trashed, path);
        return false;
    }
    if (pathInTrash)
        *pathInTrash = trashed;
    return true;
}

} // namespace korvex
