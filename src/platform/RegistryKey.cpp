#include "RegistryKey.h"

#include "KeyFileEscape.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringConverter>

namespace korvex {

namespace {

const QString kSection = QStringLiteral("[Values]");

qsizetype indexOfName(const RegistryKey::Values& values, const QString& name) {
    for (qsizetype i = 0; i < values.size(); ++i)
        if (values[i].first.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

RegistryKey::RegistryKey(const QString& keyPath) : m_file(fileForKey(keyPath)) {}

QString RegistryKey::fileForKey(const QString& keyPath) {
    QStringList parts = keyPath.split(u'\\', Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.first().compare(u"SOFTWARE", Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    for (QString& part : parts)
        part.replace(u'/', u'_');
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base + u'/' + parts.join(u'/') + QStringLiteral(".ini");
}

RegistryKey::Status RegistryKey::open(bool create) {
    if (!load())
        return m_status;
    if (m_status == Status::Missing && create)
        m_status = Status::Ok;
    return m_status;
}

bool RegistryKey::load() {
    m_values.clear();
    m_error.clear();
    QFile file(m_file);
    if (!file.exists()) {
        m_status = Status::Missing;
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        m_status = Status::Unreadable;
        m_error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_status = Status::Unreadable;
        m_error = file.errorString();
        return false;
    }
    auto decoder = QStringDecoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    bool corrupt = decoder.hasError() || bytes.contains('\0');
    const auto lines = QStringView(text).split(u'\n');
    for (QStringView line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QStringView bare = line.trimmed();
        if (bare.isEmpty() || bare.startsWith(u';') || bare.startsWith(u'#') || bare == kSection)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        const QString name = eq < 0 ? QString() : line.first(eq).trimmed().toString();
        if (name.isEmpty()) {
            corrupt = true;
            continue;
        }
        // The value is taken exactly as written: blanks at either end are part of it (a
        // password may end in one).
        const QString value = unescapeKeyFileText(line.sliced(eq + 1));
        const qsizetype at = indexOfName(m_values, name);
        if (at >= 0)
            m_values[at].second = value;
        else
            m_values.append({name, value});
    }
    m_status = corrupt ? Status::Corrupt : Status::Ok;
    if (corrupt)
        m_error = QStringLiteral("The settings file %1 is damaged.").arg(m_file);
    return true;
}

std::optional<QString> RegistryKey::value(const QString& name) const {
    const qsizetype at = indexOfName(m_values, name);
    if (at < 0)
        return std::nullopt;
    return m_values[at].second;
}

bool RegistryKey::setValue(const QString& name, const QString& text) {
    return write({{name, text}});
}

bool RegistryKey::setValues(const Values& values) {
    return write(values);
}

bool RegistryKey::write(const Values& changes) {
    // Start from what is on disk now; never write over a file we could not read.
    if (!load())
        return false;
    if (m_status == Status::Corrupt) {
        // Keep the damaged original beside the key before writing the values we could read.
        const QString keep = m_file + QStringLiteral(".corrupt");
        QFile::remove(keep);
        if (!QFile::copy(m_file, keep)) {
            m_error = QStringLiteral("Cannot keep a copy of the damaged file %1.").arg(m_file);
            return false;
        }
    }
    for (const auto& [name, text] : changes) {
        const qsizetype at = indexOfName(m_values, name);
        if (text.isEmpty()) {
            if (at >= 0)
                m_values.removeAt(at);
        } else if (at >= 0) {
            m_values[at].second = text;
        } else {
            m_values.append({name, text});
        }
    }
    if (!QDir().mkpath(QFileInfo(m_file).absolutePath())) {
        m_error = QStringLiteral("Cannot create the folder of %1.").arg(m_file);
        return false;
    }
    QString content = kSection + u'\n';
    for (const auto& [name, text] : std::as_const(m_values))
        content += name + u'=' + escapeKeyFileText(text) + u'\n';
    QSaveFile out(m_file);
    if (!out.open(QIODevice::WriteOnly)) {
        m_error = out.errorString();
        return false;
    }
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    out.write(content.toUtf8());
    if (!out.commit()) {
        m_error = out.errorString();
        return false;
    }
    QFile::setPermissions(m_file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    m_status = Status::Ok;
    return true;
}

bool RegistryKey::deleteKey(const QString& keyPath) {
    const QString file = fileForKey(keyPath);
    const QString folder = file.chopped(4);
    bool ok = !QFile::exists(file) || QFile::remove(file);
    if (QFileInfo(folder).isDir())
        ok = QDir(folder).removeRecursively() && ok;
    return ok;
}

} // namespace korvex
