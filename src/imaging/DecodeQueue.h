#pragma once

#include <QImage>
#include <QMutex>
#include <QObject>
#include <QSize>
#include <QThreadPool>
#include <map>
#include <memory>
#include <unordered_map>

namespace korvex {

// Decodes pictures on worker threads and hands them back on the owner's (GUI) thread, so that
// thumbnail grids and the viewer stay responsive without ever seeing a thread. Made for many
// small requests: the caller asks for every cell, gives the visible ones a higher priority,
// raises or lowers priorities as the user scrolls, and cancels everything when the folder
// changes. A cancelled or replaced request never delivers.
class DecodeQueue : public QObject {
    Q_OBJECT
public:
    // threads 0 means one per processor core.
    explicit DecodeQueue(QObject* parent = nullptr, int threads = 0);
    ~DecodeQueue() override;

    // Asks for the picture at path shrunk to fit into size (proportions kept, never enlarged;
    // JPEGs are decoded at the cheapest sufficient reduction). An empty size asks for the full
    // picture. Higher priority first; within one priority, first asked, first served. A request
    // with the id of one still waiting or running replaces it.
    void request(const QString& path, QSize size, quint64 id, int priority = 0);
    void setPriority(quint64 id, int priority);
    void cancel(quint64 id);
    void cancelAll();

    // Requests asked for and not yet delivered or cancelled.
    int pending() const { return int(m_live.size()); }

signals:
    // fullSize is the picture's own size, before any reduction.
    void decoded(quint64 id, const QString& path, const QImage& image, QSize fullSize);
    void failed(quint64 id, const QString& path, const QString& error);

private:
    struct Job {
        QString path;
        QSize size;
        quint64 id = 0;
        quint64 token = 0;
    };
    using Key = std::pair<int, quint64>; // (-priority, token): smallest first

    void startWorkers();
    void work();
    void deliver(quint64 id, quint64 token, const QString& path, const QImage& image,
                 QSize fullSize, const QString& error);

    QThreadPool m_pool;
    // Shared with the workers, under m_mutex.
    QMutex m_mutex;
    std::map<Key, Job> m_waiting;
    int m_workers = 0;
    bool m_stopping = false;
    // Owner thread only: the token of each id's current request.
    std::unordered_map<quint64, quint64> m_live;
    std::unordered_map<quint64, Key> m_waitingKey;
    quint64 m_nextToken = 1;
};

} // namespace korvex
