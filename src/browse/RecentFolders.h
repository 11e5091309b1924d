#pragma once

#include <QStringList>

namespace korvex {

// The recently viewed folders, most recent first, at most ten, no duplicates (without case);
// each ends in "/". Kept in "recent.dat": one folder a line, CR LF.
class RecentFolders {
public:
    static constexpr int maxCount = 10;

    // A missing or unreadable file gives an empty list.
    void load(const QString& file);
    bool save(const QString& file) const;

    void AddToRecentDirectories(const QString& folder);
    void RemoveFromRecentDirectories(const QString& folder);
    const QStringList& folders() const { return m_folders; }

private:
    QStringList m_folders;
};

} // namespace korvex
