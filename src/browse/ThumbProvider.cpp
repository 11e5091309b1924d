#include "ThumbProvider.h"

#include "CheckList.h"
#include "imaging/DecodeQueue.h"
#include "imaging/IEFunctions.h"
#include "imaging/Resample.h"
#include "support/FileRoutines.h"

#include <QFileInfo>

namespace korvex {

namespace {

// Enough requests waiting to keep every decoding thread busy between two idle turns.
constexpr int preCacheDepth = 8;

QString folderOf(const QString& path) {
    return QFileInfo(path).absolutePath().toUpper();
}

} // namespace

ThumbProvider::ThumbProvider(TIEFunctions& functions, DecodeQueue& queue, QObject* parent)
    : QObject(parent), m_cache(functions), m_functions(functions), m_queue(queue),
      m_probe([](const QString& path) { return QFileInfo::exists(path); }) {
    connect(&m_queue, &DecodeQueue::decoded, this,
            [this](quint64 id, const QString& path, const QImage& image, QSize) {
                decoded(id, path, image);
            });
    connect(&m_queue, &DecodeQueue::failed, this,
            [this](quint64 id, const QString& path, const QString&) { failed(id, path); });
}

ThumbProvider::~ThumbProvider() {
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it)
        m_queue.cancel(it.key());
}

void ThumbProvider::setNonSupportedFormatThumb(const QString& path) {
    m_nonSupportedThumb = QImage();
    QImage picture;
    if (!path.isEmpty() && m_functions.LoadImageBitmap(picture, path, false, 0, 0))
        m_nonSupportedThumb = fitted(picture);
}

bool ThumbProvider::supported(const QString& path) const {
    if (m_supportedFormats.isEmpty() || m_supportedFormats == u"*.*")
        return true;
    const QString suffix = QFileInfo(path).suffix();
    // Matched as a part of the list, so that ".JPE" is admitted by "*.JPEG;".
    return !suffix.isEmpty() && m_supportedFormats.toUpper().contains(u'.' + suffix.toUpper());
}

QImage ThumbProvider::fitted(const QImage& image) const {
    const int w = m_cache.thumbnailWidth();
    const int h = m_cache.thumbnailHeight();
    const QRect fit = FitRect(image.width(), image.height(), false, false, true, true, 0, 0, h, w);
    if (fit.size() == image.size() || fit.isEmpty())
        return image;
    return Resample(image, fit.width(), fit.height(), ResampleFilter::Linear);
}

ThumbProvider::Result ThumbProvider::thumbnailFor(const QString& path, int priority) {
    if (auto image = m_cache.lookupMemory(path))
        return {State::Ready, *image};
    const QString key = path.toUpper();
    if (m_failed.contains(key))
        return {State::Failed, {}};
    if (const auto it = m_pendingByPath.constFind(key); it != m_pendingByPath.cend()) {
        Request& request = m_pending[*it];
        request.forPaint = true;
        m_queue.setPriority(*it, priority);
        return {State::Pending, {}};
    }
    if (m_cache.hasDiskLine(path)) {
        if (auto image = m_cache.loadFromDisk(path)) {
            // Kept in memory as well, so that repainting never reads the disk again.
            m_cache.store(path, *image, true, false);
            return {State::Ready, *image};
        }
    }
    if (!supported(path)) {
        if (m_nonSupportedThumb.isNull())
            return {State::Failed, {}};
        return {State::Ready, m_nonSupportedThumb};
    }
    // The folder of an unplugged card is known after its first cell: no further access.
    if ((!m_missingFolder.isEmpty() && folderOf(path) == m_missingFolder) || !m_probe(path)) {
        recordFailure(path);
        return {State::Failed, {}};
    }
    const quint64 id = m_nextId++;
    m_pending.insert(id, Request{path, true});
    m_pendingByPath.insert(key, id);
    m_queue.request(path, QSize(m_cache.thumbnailWidth(), m_cache.thumbnailHeight()), id, priority);
    return {State::Pending, {}};
}

void ThumbProvider::recordFailure(const QString& path) {
    m_failed.insert(path.toUpper());
    if (m_missingFolder.isEmpty()) {
        const QString folder = QFileInfo(path).absolutePath();
        if (!m_probe(folder))
            m_missingFolder = folder.toUpper();
    }
}

std::optional<bool> ThumbProvider::takePending(quint64 id, const QString& path) {
    const auto it = m_pending.constFind(id);
    if (it == m_pending.cend())
        return std::nullopt;
    const bool forPaint = it->forPaint;
    m_pending.erase(it);
    m_pendingByPath.remove(path.toUpper());
    return forPaint;
}

void ThumbProvider::decoded(quint64 id, const QString& path, const QImage& image) {
    const std::optional<bool> pending = takePending(id, path);
    if (!pending)
        return;
    const bool forPaint = *pending;
    const QImage thumbnail = fitted(image);
    if (thumbnail.isNull())
        return failCell(path, forPaint);
    m_cache.store(path, thumbnail, forPaint, true);
    if (forPaint)
        emit thumbnailReady(path);
    else
        emit idleWanted();
}

void ThumbProvider::failed(quint64 id, const QString& path) {
    if (const std::optional<bool> forPaint = takePending(id, path))
        failCell(path, *forPaint);
}

void ThumbProvider::failCell(const QString& path, bool forPaint) {
    recordFailure(path);
    if (!forPaint) // a picture that cannot be made ends pre-caching of this folder
        m_preCachePosition = stopPreCaching;
    emit thumbnailFailed(path);
}

void ThumbProvider::reset() {
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it)
        m_queue.cancel(it.key());
    m_pending.clear();
    m_pendingByPath.clear();
    m_failed.clear();
    m_preCachePosition = 0;
}

void ThumbProvider::InvalidateThumb(const QString& path, ThumbCache::Which which) {
    m_cache.remove(path, which);
    if (path.isEmpty()) {
        m_failed.clear();
        return;
    }
    const QString key = path.toUpper();
    m_failed.remove(key);
    if (const auto it = m_pendingByPath.constFind(key); it != m_pendingByPath.cend()) {
        m_queue.cancel(*it);
        m_pending.remove(*it);
        m_pendingByPath.erase(it);
    }
}

int ThumbProvider::preCacheInFlight() const {
    int n = 0;
    for (const Request& r : m_pending)
        n += r.forPaint ? 0 : 1;
    return n;
}

bool ThumbProvider::IdleStep(const TCheckList& list) {
    if (!m_preCache || !m_cache.diskCacheUsable() || m_cache.suspended() ||
        m_preCachePosition >= list.count())
        return false;
    if (preCacheInFlight() >= preCacheDepth)
        return false; // idleWanted follows when one of them is done
    const QString path = list.path(m_preCachePosition++);
    const QString key = path.toUpper();
    if (!m_pendingByPath.contains(key) && !m_failed.contains(key) && supported(path) &&
        !QFileInfo::exists(m_cache.thumbFilePath(path))) {
        const quint64 id = m_nextId++;
        m_pending.insert(id, Request{path, false});
        m_pendingByPath.insert(key, id);
        m_queue.request(path, QSize(m_cache.thumbnailWidth(), m_cache.thumbnailHeight()), id, 0);
    }
    return m_preCachePosition < list.count();
}

} // namespace korvex
