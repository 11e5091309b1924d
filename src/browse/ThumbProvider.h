#pragma once

#include "ThumbCache.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <functional>
#include <optional>

namespace korvex {

class DecodeQueue;
class TCheckList;
class TIEFunctions;

// Where a grid's thumbnails come from: the memory ring, the disk cache, or the decode pool,
// which makes missing ones on worker threads so that the GUI thread never decodes a picture.
// A cell asks; a thumbnail that is not ready yet is requested and announced by thumbnailReady
// when it has been stored. Idle time builds the disk thumbnails of the rest of the folder.
class ThumbProvider : public QObject {
    Q_OBJECT
public:
    enum class State { Ready, Pending, Failed };
    struct Result {
        State state = State::Failed;
        QImage image;
    };
    // Whether a file or folder exists. Replaceable so tests can count the accesses a removed
    // card costs.
    using FileProbe = std::function<bool(const QString& path)>;

    // The queue serves this provider alone: request ids are the provider's own.
    ThumbProvider(TIEFunctions& functions, DecodeQueue& queue, QObject* parent = nullptr);
    ~ThumbProvider() override;

    ThumbCache& cache() { return m_cache; }
    // ";"-separated extensions that get real thumbnails ("*.*" or empty: every file).
    void setSupportedFormats(const QString& formats) { m_supportedFormats = formats; }
    // A picture whose thumbnail stands for files of other extensions; empty: they fail.
    void setNonSupportedFormatThumb(const QString& path);
    void setPreCacheThumbnails(bool on) { m_preCache = on; }
    void setFileProbe(FileProbe probe) { m_probe = std::move(probe); }

    // The thumbnail of a cell being drawn. Requests not ready yet are served before pre-caching,
    // the most recently asked (higher priority) first.
    Result thumbnailFor(const QString& path, int priority);

    // A new folder: every request is dropped, failures are forgotten, pre-caching restarts.
    void reset();
    // Forget the recorded missing folder (a reload may find the card back).
    void clearMissingFolder() { m_missingFolder.clear(); }
    QString missingFolder() const { return m_missingFolder; }
    // Drops the thumbnail of path from the caches, and any failure or request remembered for it.
    void InvalidateThumb(const QString& path, ThumbCache::Which which);

    // One step of pre-caching through list: queues the next picture without a disk thumbnail.
    // True while another step could do something at once; thumbnailReady and idleWanted tell
    // when work becomes possible again.
    bool IdleStep(const TCheckList& list);
    int preCachePosition() const { return m_preCachePosition; }
    int pendingCount() const { return int(m_pending.size()); }

signals:
    void thumbnailReady(const QString& path);
    void thumbnailFailed(const QString& path);
    // A pre-cache request finished, so the next idle step has room for another.
    void idleWanted();

private:
    struct Request {
        QString path;
        bool forPaint = false;
    };
    static constexpr int stopPreCaching = 9999999;

    // Forgets a request; whether it was for painting, or nothing when it was not ours.
    std::optional<bool> takePending(quint64 id, const QString& path);
    void decoded(quint64 id, const QString& path, const QImage& image);
    void failed(quint64 id, const QString& path);
    void failCell(const QString& path, bool forPaint);
    void recordFailure(const QString& path);
    bool supported(const QString& path) const;
    QImage fitted(const QImage& image) const;
    int preCacheInFlight() const;

    ThumbCache m_cache;
    TIEFunctions& m_functions;
    DecodeQueue& m_queue;
    FileProbe m_probe;
    QString m_supportedFormats = QStringLiteral("*.jpg;*.jpeg;");
    QImage m_nonSupportedThumb;
    bool m_preCache = true;
    int m_preCachePosition = 0;
    QString m_missingFolder; // upper case
    QSet<QString> m_failed;  // upper-case paths
    QHash<quint64, Request> m_pending;
    QHash<QString, quint64> m_pendingByPath; // upper-case path → request id
    quint64 m_nextId = 1;
};

} // namespace korvex
