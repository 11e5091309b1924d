#include "CachedDoubleStringList.h"

#include "FileRoutines.h"
#include "platform/KeyFileEscape.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace korvex {

namespace {

const QString kSection = QStringLiteral("[Dimensions_Cache]");

// Keys are file paths and values free text: line breaks (and "=" in keys) are escaped so an entry
// always stays one line.
QString escape(const QString& text, bool key) {
    return key ? escapeKeyFileText(text, {{u'=', u'e'}}) : escapeKeyFileText(text);
}

QString unescape(QStringView text) {
    return unescapeKeyFileText(text, {{u'=', u'e'}});
}

// The lines of the file's section as (key, value) pairs, keys unescaped.
QList<QPair<QString, QString>> readSection(const QString& file) {
    QList<QPair<QString, QString>> entries;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return entries;
    bool inSection = false;
    const QStringList lines = QString::fromUtf8(in.readAll()).split(u'\n');
    for (const QString& raw : lines) {
        const QStringView line = QStringView(raw).trimmed();
        if (line.startsWith(u'[')) {
            inSection = line.compare(kSection, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (inSection && eq > 0)
            entries.append({unescape(line.first(eq)), unescape(line.sliced(eq + 1))});
    }
    return entries;
}

void writeEntry(const QString& file, const QString& key, const QString& value) {
    auto entries = readSection(file);
    bool replaced = false;
    for (auto& entry : entries) {
        if (entry.first.compare(key, Qt::CaseInsensitive) == 0) {
            entry.second = value;
            replaced = true;
        }
    }
    if (!replaced)
        entries.append({key, value});
    QString content = kSection + u'\n';
    for (const auto& [k, v] : std::as_const(entries))
        content += escape(k, true) + u'=' + escape(v, false) + u'\n';
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly)) {
        out.write(content.toUtf8());
        out.commit();
    }
}

} // namespace

void TCachedDoubleStringList::setCacheDirectory(const QString& folder) {
    m_cacheDirectory = IncludeSlash(folder);
}

QString TCachedDoubleStringList::backingFile() const {
    return m_cacheDirectory.isEmpty() ? QString() : m_cacheDirectory + m_cacheFilename;
}

QString TCachedDoubleStringList::GetValue(const QString& key) const {
    const qsizetype at = m_keys.indexOf(key.toUpper());
    if (at >= 0)
        return m_values[at];
    if (m_cacheDirectory.isEmpty())
        return {};
    const auto entries = readSection(backingFile());
    for (const auto& [k, v] : entries)
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            return v;
    return {};
}

void TCachedDoubleStringList::SetValue(const QString& key, const QString& value) {
    const QString upper = key.toUpper();
    const qsizetype at = m_keys.indexOf(upper);
    if (at >= 0 && value.isEmpty()) {
        m_keys.removeAt(at);
        m_values.removeAt(at);
    } else if (at >= 0) {
        m_values[at] = value;
    } else if (!value.isEmpty()) {
        m_keys.append(upper);
        m_values.append(value);
    }
    while (m_keys.size() > qMax(0, m_memoryCacheCount)) {
        m_keys.removeFirst();
        m_values.removeFirst();
    }
    if (!m_cacheDirectory.isEmpty())
        writeEntry(backingFile(), key, value);
}

void TCachedDoubleStringList::Clear() {
    m_keys.clear();
    m_values.clear();
    if (!m_cacheDirectory.isEmpty())
        QFile::remove(backingFile());
}

} // namespace korvex
