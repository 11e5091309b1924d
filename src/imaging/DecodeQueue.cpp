#include "DecodeQueue.h"

#include "PictureReader.h"
#include "Resample.h"

#include <QMutexLocker>
#include <QThread>

namespace korvex {

DecodeQueue::DecodeQueue(QObject* parent, int threads) : QObject(parent) {
    m_pool.setMaxThreadCount(threads > 0 ? threads : QThread::idealThreadCount());
}

DecodeQueue::~DecodeQueue() {
    {
        QMutexLocker lock(&m_mutex);
        m_stopping = true;
        m_waiting.clear();
    }
    // Results still posted to us are dropped with this object.
    m_pool.waitForDone();
}

void DecodeQueue::request(const QString& path, QSize size, quint64 id, int priority) {
    cancel(id);
    const quint64 token = m_nextToken++;
    const Key key{-priority, token};
    m_live[id] = token;
    m_waitingKey[id] = key;
    {
        QMutexLocker lock(&m_mutex);
        m_waiting.emplace(key, Job{path, size, id, token});
    }
    startWorkers();
}

void DecodeQueue::setPriority(quint64 id, int priority) {
    const auto it = m_waitingKey.find(id);
    if (it == m_waitingKey.end())
        return;
    QMutexLocker lock(&m_mutex);
    const auto node = m_waiting.extract(it->second);
    if (node.empty()) // already taken by a worker
        return;
    const Key key{-priority, it->second.second};
    m_waiting.emplace(key, node.mapped());
    it->second = key;
}

void DecodeQueue::cancel(quint64 id) {
    m_live.erase(id);
    const auto it = m_waitingKey.find(id);
    if (it == m_waitingKey.end())
        return;
    {
        QMutexLocker lock(&m_mutex);
        m_waiting.erase(it->second);
    }
    m_waitingKey.erase(it);
}

void DecodeQueue::cancelAll() {
    m_live.clear();
    m_waitingKey.clear();
    QMutexLocker lock(&m_mutex);
    m_waiting.clear();
}

void DecodeQueue::startWorkers() {
    QMutexLocker lock(&m_mutex);
    while (m_workers < m_pool.maxThreadCount() && m_workers < int(m_waiting.size())) {
        ++m_workers;
        m_pool.start([this] { work(); });
    }
}

void DecodeQueue::work() {
    for (;;) {
        Job job;
        {
            QMutexLocker lock(&m_mutex);
            if (m_stopping || m_waiting.empty()) {
                --m_workers;
                return;
            }
            job = std::move(m_waiting.begin()->second);
            m_waiting.erase(m_waiting.begin());
        }
        QImage image;
        QSize fullSize;
        QString error;
        try {
            picture::Decoded d = picture::load(job.path, job.size);
            fullSize = d.fullSize;
            image = std::move(d.image);
            if (job.size.isValid() && !job.size.isEmpty()) {
                const QRect fit = FitRect(image.width(), image.height(), false, false, true, false,
                                          0, 0, job.size.height(), job.size.width());
                if (fit.size() != image.size())
                    image = Resample(image, fit.width(), fit.height(), ResampleFilter::Linear);
            }
            if (image.isNull())
                error = QStringLiteral("Load Error");
        } catch (const std::exception& e) {
            error = QString::fromUtf8(e.what());
        }
        QMetaObject::invokeMethod(
            this,
            [this, id = job.id, token = job.token, path = job.path, image = std::move(image),
             fullSize, error] { deliver(id, token, path, image, fullSize, error); },
            Qt::QueuedConnection);
    }
}

void DecodeQueue::deliver(quint64 id, quint64 token, const QString& path, const QImage& image,
                          QSize fullSize, const QString& error) {
    const auto it = m_live.find(id);
    if (it == m_live.end() || it->second != token)
        return; // cancelled or asked for again meanwhile
    m_live.erase(it);
    m_waitingKey.erase(id);
    if (error.isEmpty())
        emit decoded(id, path, image, fullSize);
    else
        emit failed(id, path, error);
}

} // namespace korvex
