#include "RecentFolders.h"

#include "support/FileRoutines.h"

#include <QFile>
#include <QSaveFile>

namespace korvex {

void RecentFolders::load(const QString& file) {
    m_folders.clear();
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return;
    for (QByteArray line : f.readAll().split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QString folder = QString::fromUtf8(line);
        if (!folder.trimmed().isEmpty() && m_folders.size() < maxCount)
            m_folders << folder;
    }
}

bool RecentFolders::save(const QString& file) const {
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (const QString& folder : m_folders)
        f.write(folder.toUtf8() + "\r\n");
    return f.commit();
}

void RecentFolders::AddToRecentDirectories(const QString& folder) {
    if (folder.trimmed().isEmpty())
        return;
    const QString slashed = IncludeSlash(folder);
    RemoveFromRecentDirectories(slashed);
    m_folders.prepend(slashed);
    while (m_folders.size() > maxCount)
        m_folders.removeLast();
}

void RecentFolders::RemoveFromRecentDirectories(const QString& folder) {
    const QString slashed = IncludeSlash(folder);
    m_folders.removeIf(
        [&](const QString& f) { return f.compare(slashed, Qt::CaseInsensitive) == 0; });
}

} // namespace korvex
