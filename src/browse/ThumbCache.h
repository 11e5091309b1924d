#pragma once

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <list>
#include <optional>
#include <vector>

namespace korvex {

class TIEFunctions;

// The two thumbnail caches of a grid: a ring of bitmaps in memory and a folder of small picture
// files on disk listed in "~cche.idx". Every grid of the program names its files the same way,
// so a thumbnail made by one grid is found by the others and by later runs. All failures are
// silent: the thumbnail is simply made again.
class ThumbCache {
public:
    enum class Which { Memory, Both };

    ThumbCache(TIEFunctions& functions, int memorySlots = 100);
    ~ThumbCache();
    ThumbCache(const ThumbCache&) = delete;
    ThumbCache& operator=(const ThumbCache&) = delete;

    // The thumbnail box; the file names carry |width - height|.
    void setThumbnailSize(int width, int height);
    int thumbnailWidth() const { return m_width; }
    int thumbnailHeight() const { return m_height; }
    // ".jpg" writes JPEG files of quality 90, anything else bitmap files.
    void setSaveFormat(const QString& extension) { m_saveFormat = extension; }
    // The largest number of index lines; 0 switches the disk cache off.
    void setMaxDiskCount(int count) { m_maxDiskCount = count; }
    int maxDiskCount() const { return m_maxDiskCount; }

    // Creates the folder when missing; without it there is no disk cache. A folder other than
    // the current one (compared without case) brings its index in.
    void setDiskCacheDirectory(const QString& folder);
    QString diskCacheDirectory() const { return m_folder; }
    bool diskCacheUsable() const { return m_maxDiskCount > 0 && !m_folder.isEmpty(); }

    // "~x" + |w - h| + H1 + date digits + "F" + H2 + extension, for the picture's current
    // modification time (as read by the caller with date).
    QString thumbFileName(const QString& path, const QDateTime& date) const;
    QString thumbFileName(const QString& path) const;
    QString thumbFilePath(const QString& path) const { return m_folder + thumbFileName(path); }

    std::optional<QImage> lookupMemory(const QString& path) const;
    // The thumbnail of the index line equal to path (without case): read from the file named
    // after that line; on success the line becomes the most recently used.
    std::optional<QImage> loadFromDisk(const QString& path);
    bool hasDiskLine(const QString& path) const;

    // Into the memory ring (when memory) and, with a usable and running disk cache, into a new
    // file and index line, evicting the oldest line beyond the limit.
    void store(const QString& path, const QImage& thumbnail, bool memory, bool disk);
    // An empty path removes everything of that kind.
    void remove(const QString& path, Which which);

    void loadIndex();
    void saveIndex();
    // While suspended nothing is written; resuming reloads the index another grid may have saved.
    void suspend();
    void resume();
    bool suspended() const { return m_suspended; }

    QStringList diskLines() const;
    int additionsSinceSave() const { return m_additions; }

private:
    struct Slot {
        QImage bitmap;
        QString key = QStringLiteral("nil");
    };
    using Line = std::list<QString>::iterator;

    void appendLine(const QString& path);
    void eraseLine(Line line);
    Line findLine(const QString& path);
    void deleteThumbFile(const QString& path);

    TIEFunctions& m_functions;
    int m_width = 90;
    int m_height = 75;
    QString m_saveFormat = QStringLiteral(".jpg");
    int m_maxDiskCount = 300;
    QString m_folder;
    bool m_suspended = false;
    quint8 m_additions = 0;
    // The index in least recently used order, and where each path's lines are (by upper case).
    std::list<QString> m_lines;
    QHash<QString, std::vector<Line>> m_lineIndex;
    std::vector<Slot> m_ring;
    int m_nextSlot = 0;
};

// The disk limit the main window gives its grid from the free space of the cache's drive
// (negative when unknown).
int DiskCacheLimitForFreeSpace(qint64 freeBytes);

} // namespace korvex
