#pragma once

#include <QString>
#include <QStringList>

namespace korvex {

// A small key → value cache: the newest MemoryCacheCount pairs in memory, keys compared without
// regard to case, and optionally an INI file (section "Dimensions_Cache") behind it that keeps
// every pair ever set.
class TCachedDoubleStringList {
public:
    QString cacheFilename() const { return m_cacheFilename; }
    void setCacheFilename(const QString& name) { m_cacheFilename = name; }
    // Empty means memory only; a folder is kept with a trailing "/".
    QString cacheDirectory() const { return m_cacheDirectory; }
    void setCacheDirectory(const QString& folder);
    int memoryCacheCount() const { return m_memoryCacheCount; }
    void setMemoryCacheCount(int count) { m_memoryCacheCount = count; }

    // The value in memory, else the backing file's, else empty.
    QString GetValue(const QString& key) const;
    // A non-empty value replaces or appends (newest last); an empty value removes the pair. The
    // oldest pairs go while more than MemoryCacheCount are held. The backing file gets the pair
    // too (an empty value as an empty entry).
    void SetValue(const QString& key, const QString& value);
    // Empties the memory and deletes the backing file.
    void Clear();

    qsizetype count() const { return m_keys.size(); }
    // The full name of the backing file, empty when memory only.
    QString backingFile() const;

private:
    QString m_cacheFilename = QStringLiteral("~ImgeDim.che");
    QString m_cacheDirectory;
    int m_memoryCacheCount = 1000;
    QStringList m_keys; // upper case, oldest first
    QStringList m_values;
};

} // namespace korvex
