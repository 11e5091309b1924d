#include "DesktopKeyFile.h"

#include "KeyFileEscape.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace korvex {

namespace {

// Desktop files escape tabs too, and a leading blank that would otherwise be trimmed away.
QString escapeValue(const QString& value) {
    if (value.startsWith(u' '))
        return QStringLiteral("\\s") +
               escapeKeyFileText(QStringView(value).sliced(1), {{u'\t', u't'}});
    return escapeKeyFileText(value, {{u'\t', u't'}});
}

QString unescapeValue(QStringView raw) {
    return unescapeKeyFileText(raw, {{u' ', u's'}, {u'\t', u't'}});
}

bool isGroupHeader(QStringView line) {
    return line.startsWith(u'[') && line.endsWith(u']');
}

} // namespace

bool DesktopKeyFile::load(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString text = QString::fromUtf8(file.readAll());
    m_lines = text.split(u'\n');
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
    for (QString& line : m_lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    return true;
}

QString DesktopKeyFile::toString() const {
    QString out;
    for (const QString& line : m_lines)
        out += line + u'\n';
    return out;
}

bool DesktopKeyFile::save(const QString& fileName) const {
    if (!QDir().mkpath(QFileInfo(fileName).absolutePath()))
        return false;
    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(toString().toUtf8());
    return out.commit();
}

qsizetype DesktopKeyFile::find(const QString& group, const QString& key,
                               qsizetype* groupEnd) const {
    const QString header = u'[' + group + u']';
    bool inGroup = false;
    qsizetype found = -1;
    *groupEnd = -1;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QStringView line = QStringView(m_lines[i]).trimmed();
        if (isGroupHeader(line)) {
            inGroup = line == header;
            if (inGroup)
                *groupEnd = i + 1;
            continue;
        }
        if (!inGroup)
            continue;
        if (!line.isEmpty())
            *groupEnd = i + 1;
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0 && !line.startsWith(u'#') && line.first(eq).trimmed() == key)
            found = i;
    }
    return found;
}

bool DesktopKeyFile::contains(const QString& group, const QString& key) const {
    qsizetype end;
    return find(group, key, &end) >= 0;
}

QString DesktopKeyFile::value(const QString& group, const QString& key) const {
    qsizetype end;
    const qsizetype at = find(group, key, &end);
    if (at < 0)
        return {};
    const QStringView line = QStringView(m_lines[at]).trimmed();
    return unescapeValue(line.sliced(line.indexOf(u'=') + 1).trimmed());
}

void DesktopKeyFile::setValue(const QString& group, const QString& key, const QString& value) {
    const QString line = key + u'=' + escapeValue(value);
    qsizetype end;
    const qsizetype at = find(group, key, &end);
    if (at >= 0) {
        m_lines[at] = line;
    } else if (end >= 0) {
        m_lines.insert(end, line);
    } else {
        if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty())
            m_lines.append(QString());
        m_lines.append(u'[' + group + u']');
        m_lines.append(line);
    }
}

void DesktopKeyFile::remove(const QString& group, const QString& key) {
    qsizetype end;
    const qsizetype at = find(group, key, &end);
    if (at >= 0)
        m_lines.removeAt(at);
}

QString DesktopKeyFile::quoteExecArgument(const QString& argument) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString text = argument;
    text.replace(u'%', QStringLiteral("%%"));
    bool quote = text.isEmpty();
    for (QChar c : std::as_const(text))
        quote = quote || reserved.contains(c);
    if (!quote)
        return text;
    QString out = QStringLiteral("\"");
    for (QChar c : std::as_const(text)) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += u'\\';
        out += c;
    }
    return out + u'"';
}

QStringList DesktopKeyFile::splitExec(const QString& exec) {
    QStringList args;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    bool fieldCode = false; // the argument is a lone field code such as %f
    auto finish = [&] {
        if (inArgument && !fieldCode)
            args.append(current);
        current.clear();
        inArgument = fieldCode = false;
    };
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == u'"')
                quoted = false;
            else if (c == u'\\' && i + 1 < exec.size())
                current += exec[++i];
            else if (c == u'%' && exec.mid(i + 1, 1) == QLatin1String("%"))
                current += exec[++i];
            else
                current += c;
        } else if (c == u' ' || c == u'\t') {
            finish();
        } else if (c == u'"') {
            quoted = inArgument = true;
        } else if (c == u'%' && i + 1 < exec.size()) {
            const QChar code = exec[++i];
            if (code == u'%') {
                current += u'%';
            } else if (!inArgument) {
                fieldCode = true;
            }
            inArgument = true;
        } else {
            current += c;
            inArgument = true;
        }
    }
    finish();
    return args;
}

} // namespace korvex
