#include "FileRoutines.h"

#include "Prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryFile>
#include <cstdio>

namespace korvex {

namespace {

bool isSeparator(QChar c) {
    return c == u'/' || c == u'\\';
}

// Anything of that name, a dangling symbolic link included, takes the name.
bool nameTaken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The position of the extension's dot in path, or -1 when the file name has none.
qsizetype extensionDot(const QString& path) {
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > path.lastIndexOf(u'/') ? dot : -1;
}

constexpr qint64 kUniqueNameCandidates = 20'000'000;

} // namespace

QString IncludeSlash(const QString& path) {
    const QString p = path.trimmed();
    if (p.isEmpty() || isSeparator(p.back()))
        return p;
    return p + u'/';
}

QString ExcludeSlash(const QString& path) {
    QString p = path.trimmed();
    if (p.size() > 1 && isSeparator(p.back()))
        p.chop(1);
    return p;
}

QString LastPathPart(const QString& path) {
    const QString p = ExcludeSlash(path);
    const QString last = p.mid(p.lastIndexOf(u'/') + 1);
    return last.isEmpty() ? path : last;
}

QString FileNameWithoutExt(const QString& path) {
    const qsizetype dot = extensionDot(path);
    const QString withoutExt = dot < 0 ? path : path.left(dot);
    return withoutExt.mid(withoutExt.lastIndexOf(u'/') + 1);
}

QString GetTempFolder() {
    return IncludeSlash(QDir::tempPath());
}

QString TempCopyName(const QString& path) {
    return UniqueFileName(GetTempFolder() + QFileInfo(path).fileName(), QStringLiteral("_"), false);
}

QString UniqueFileName(const QString& path, const QString& separator, bool pad) {
    if (!pad && !nameTaken(path))
        return path;
    const qsizetype dot = extensionDot(path);
    const QString stem = dot < 0 ? path : path.left(dot);
    const QString extension = dot < 0 ? QString() : path.mid(dot);
    for (qint64 n = pad ? 1 : 2; n < kUniqueNameCandidates + 2; ++n) {
        const QString number = pad ? QStringLiteral("%1").arg(n, 3) : QString::number(n);
        const QString candidate = stem + separator + number + extension;
        if (!nameTaken(candidate))
            return candidate;
    }
    return {};
}

bool SafeFileExists(const QString& path) {
    return QFileInfo(path).isFile();
}

bool SafeDirectoryExists(const QString& path) {
    return QFileInfo(path).isDir();
}

QDateTime SafeFileDate(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? info.lastModified() : QDateTime();
}

QDateTime FileCreationTime(const QString& path) {
    const QFileInfo info(ExcludeSlash(path));
    if (!info.exists())
        return {};
    const QDateTime birth = info.birthTime();
    return (birth.isValid() ? birth : info.lastModified()).toLocalTime();
}

QString FileSizeText(qint64 size, bool exact) {
    if (exact && size < 1000)
        return QStringLiteral("%1 bytes").arg(size);
    if (size <= 1048575)
        return QStringLiteral("%1 KB").arg((size + 512) / 1024);
    if (size >= 10485248)
        return QStringLiteral("%1 MB").arg((size + 512) / 1048576);
    QString number = QString::number(double(size + 512) / 1048576.0, 'f', 2);
    number.replace(u'.', QLocale().decimalPoint());
    return number + QStringLiteral(" MB");
}

bool ExtensionInList(const QString& path, const QString& list) {
    if (list == u"*.*" || list == u"*.*;")
        return true;
    const qsizetype dot = extensionDot(path);
    const QString extension = dot < 0 ? QStringLiteral(".NOTHING") : path.mid(dot).toUpper();
    return (list.toUpper() + u';').contains(extension + u';');
}

bool IsReadOnly(const QString& path) {
    const QFileInfo info(path);
    return !info.exists() || !(info.permissions() & QFileDevice::WriteOwner);
}

bool ClearReadOnly(const QString& path) {
    const QFileInfo info(path);
    return info.exists() &&
           QFile::setPermissions(path, info.permissions() | QFileDevice::WriteOwner);
}

bool CopyFileChecked(const QString& source, const QString& target, bool checkSize) {
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.isFile())
        return false;
    const QFileInfo targetInfo(target);
    if (targetInfo.isDir() || (targetInfo.exists() && IsReadOnly(target)))
        return false;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    // Copy beside the target and rename over it, so the target is never half written.
    QTemporaryFile out(targetInfo.absolutePath() + QStringLiteral("/.~copy-XXXXXX"));
    if (!out.open())
        return false;
    char buffer[1 << 16];
    for (qint64 n; (n = in.read(buffer, sizeof buffer)) > 0;)
        if (out.write(buffer, n) != n)
            return false;
    if (in.error() != QFileDevice::NoError || !out.flush())
        return false;
    out.setPermissions(sourceInfo.permissions());
    out.setFileTime(sourceInfo.lastModified(), QFileDevice::FileModificationTime);
    out.close();
    const QByteArray from = QFile::encodeName(out.fileName());
    if (std::rename(from.constData(), QFile::encodeName(targetInfo.absoluteFilePath())) != 0)
        return false;
    out.setAutoRemove(false);
    return !checkSize || QFileInfo(target).size() == sourceInfo.size();
}

bool MoveFileByCopy(const QString& source, const QString& target, bool checkSize) {
    const bool targetExisted = nameTaken(target);
    if (!CopyFileChecked(source, target, checkSize))
        return false;
    if (QFile::remove(source))
        return true;
    if (!targetExisted)
        QFile::remove(target);
    return false;
}

QString DateTimeToFileText(bool dashes, const QDateTime& moment) {
    const QLocale locale;
    // The long time format may end in a time zone, which has no place in a file name.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(u't');
    const QString text = locale.toString(moment.date(), QLocale::ShortFormat) + u' ' +
                         locale.toString(moment.time(), timeFormat.trimmed());
    QString out;
    for (QChar c : text) {
        if (c == u':')
            out += dashes ? QStringLiteral(".") : QString();
        else if (c == u'/')
            out += dashes ? QStringLiteral("-") : QString();
        else if (c == u' ')
            out += dashes ? QStringLiteral("_") : QString();
        else
            out += c;
    }
    return out;
}

bool AppendLine(const QString& fileName, const QString& text, bool rewrite) {
    QFile file(fileName);
    const QIODevice::OpenMode mode =
        rewrite ? QIODevice::WriteOnly | QIODevice::Truncate : QIODevice::Append;
    if (!file.open(mode))
        return false;
    const QByteArray line = (text + u'\n').toUtf8();
    return file.write(line) == line.size() && file.flush();
}

QString ShortPathName(const QString& path) {
    return path;
}

bool HasInvalidFileChars(const QString& name, bool report, Prompter* prompter) {
    static const QString invalid = QStringLiteral("\\/:*?\"<>|");
    bool found = false;
    for (QChar c : name)
        found = found || invalid.contains(c);
    if (found && report && prompter)
        prompter->message(MessageKind::Information,
                          QStringLiteral("A filename cannot contain any of the following "
                                         "characters:\r\n\\ / : * ? \" < > |"));
    return found;
}

} // namespace korvex
