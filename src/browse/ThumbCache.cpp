#include "ThumbCache.h"

#include "imaging/IEFunctions.h"
#include "support/CacheKey.h"
#include "support/FileRoutines.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace korvex {

namespace {

const QString indexName = QStringLiteral("~cche.idx");

} // namespace

ThumbCache::ThumbCache(TIEFunctions& functions, int memorySlots)
    : m_functions(functions), m_ring(std::max(1, memorySlots)) {}

ThumbCache::~ThumbCache() {
    saveIndex();
}

void ThumbCache::setThumbnailSize(int width, int height) {
    m_width = width;
    m_height = height;
}

void ThumbCache::setDiskCacheDirectory(const QString& folder) {
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        m_folder.clear();
        return;
    }
    const QString slashed = IncludeSlash(folder);
    if (slashed.compare(m_folder, Qt::CaseInsensitive) == 0)
        return;
    m_folder = slashed;
    loadIndex();
}

QString ThumbCache::thumbFileName(const QString& path, const QDateTime& date) const {
    return QStringLiteral("~x") + QString::number(std::abs(m_width - m_height)) +
           FileCacheKey(path, date) + m_saveFormat;
}

QString ThumbCache::thumbFileName(const QString& path) const {
    return thumbFileName(path, SafeFileDate(path));
}

std::optional<QImage> ThumbCache::lookupMemory(const QString& path) const {
    const QString key = path.toUpper();
    for (const Slot& slot : m_ring)
        if (slot.key == key)
            return slot.bitmap;
    return std::nullopt;
}

ThumbCache::Line ThumbCache::findLine(const QString& path) {
    const auto it = m_lineIndex.constFind(path.toUpper());
    if (it == m_lineIndex.cend() || it->empty())
        return m_lines.end();
    return it->front();
}

bool ThumbCache::hasDiskLine(const QString& path) const {
    return m_lineIndex.contains(path.toUpper());
}

std::optional<QImage> ThumbCache::loadFromDisk(const QString& path) {
    if (m_folder.isEmpty())
        return std::nullopt;
    const Line line = findLine(path);
    if (line == m_lines.end())
        return std::nullopt;
    QImage bitmap;
    if (!m_functions.LoadImageBitmap(bitmap, m_folder + thumbFileName(*line), false, 0, 0))
        return std::nullopt; // the stale line stays; a new thumbnail gets a line of its own
    m_lines.splice(m_lines.end(), m_lines, line);
    return bitmap;
}

void ThumbCache::store(const QString& path, const QImage& thumbnail, bool memory, bool disk) {
    if (memory) {
        if (m_nextSlot >= int(m_ring.size()))
            m_nextSlot = 0;
        Slot& slot = m_ring[size_t(m_nextSlot++)];
        slot.bitmap = thumbnail;
        slot.key = thumbnail.isNull() ? QStringLiteral("nil") : path.toUpper();
    }
    if (!disk || !diskCacheUsable() || m_suspended)
        return;
    const QString file = m_folder + thumbFileName(path);
    if (!m_functions.SaveBitmapFile(thumbnail, file, false, 90))
        return;
    appendLine(path);
    if (int(m_lines.size()) > m_maxDiskCount) {
        deleteThumbFile(m_lines.front());
        eraseLine(m_lines.begin());
    }
    if (++m_additions > 30)
        saveIndex();
}

void ThumbCache::remove(const QString& path, Which which) {
    if (path.isEmpty()) {
        for (Slot& slot : m_ring)
            slot = Slot();
        if (which == Which::Both) {
            for (const QString& line : m_lines)
                deleteThumbFile(line);
            m_lines.clear();
            m_lineIndex.clear();
        }
        return;
    }
    const QString key = path.toUpper();
    for (Slot& slot : m_ring)
        if (slot.key == key)
            slot = Slot();
    if (which == Which::Both) {
        deleteThumbFile(path);
        while (true) {
            const Line line = findLine(path);
            if (line == m_lines.end())
                break;
            eraseLine(line);
        }
    }
}

void ThumbCache::appendLine(const QString& path) {
    m_lineIndex[path.toUpper()].push_back(m_lines.insert(m_lines.end(), path));
}

void ThumbCache::eraseLine(Line line) {
    const QString key = line->toUpper();
    auto it = m_lineIndex.find(key);
    if (it != m_lineIndex.end()) {
        std::erase(*it, line);
        if (it->empty())
            m_lineIndex.erase(it);
    }
    m_lines.erase(line);
}

void ThumbCache::deleteThumbFile(const QString& path) {
    if (!m_folder.isEmpty())
        QFile::remove(m_folder + thumbFileName(path));
}

void ThumbCache::loadIndex() {
    if (m_folder.isEmpty())
        return;
    QFile file(m_folder + indexName);
    if (!file.exists())
        return;
    m_lines.clear();
    m_lineIndex.clear();
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray all = file.readAll();
    for (QByteArray line : all.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            appendLine(QString::fromUtf8(line));
    }
}

void ThumbCache::saveIndex() {
    if (m_suspended)
        return;
    m_additions = 0;
    if (m_folder.isEmpty())
        return;
    const QString name = m_folder + indexName;
    if (m_lines.empty()) {
        QFile::remove(name);
        return;
    }
    QByteArray text;
    for (const QString& line : m_lines)
        text += line.toUtf8() + "\r\n";
    // Another grid or process reads the index at any moment: it must never see half of it.
    QSaveFile file(name);
    if (file.open(QIODevice::WriteOnly))
        file.write(text) == text.size() && file.commit();
}

void ThumbCache::suspend() {
    saveIndex();
    m_suspended = true;
}

void ThumbCache::resume() {
    m_suspended = false;
    loadIndex();
}

QStringList ThumbCache::diskLines() const {
    return QStringList(m_lines.begin(), m_lines.end());
}

int DiskCacheLimitForFreeSpace(qint64 freeBytes) {
    if (freeBytes > 262144000)
        return 15000;
    if (freeBytes > 104857600)
        return 5000;
    return 1000;
}

} // namespace korvex
