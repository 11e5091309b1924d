#include "Shortcuts.h"

#include "platform/DesktopKeyFile.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace korvex {

namespace {

const QString kEntry = QStringLiteral("Desktop Entry");
const QString kExtension = QStringLiteral(".desktop");

QString withoutExtension(const QString& path) {
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > path.lastIndexOf(u'/') ? path.left(dot) : path;
}

} // namespace

bool CreateShortcut(const QString& target, const QString& linkName, bool renameOnCollision) {
    const QString stem = withoutExtension(linkName);
    QString fileName = stem + kExtension;
    if (QFileInfo::exists(fileName)) {
        if (!renameOnCollision)
            return false;
        for (int n = 1; QFileInfo::exists(fileName); ++n)
            fileName = QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(kExtension);
    }
    const QFileInfo targetInfo(target);
    DesktopKeyFile entry;
    const bool program = targetInfo.isFile() && targetInfo.isExecutable();
    entry.setValue(kEntry, QStringLiteral("Type"),
                   program ? QStringLiteral("Application") : QStringLiteral("Link"));
    entry.setValue(kEntry, QStringLiteral("Name"), QFileInfo(stem).fileName());
    if (program)
        entry.setValue(kEntry, QStringLiteral("Exec"),
                       DesktopKeyFile::quoteExecArgument(targetInfo.absoluteFilePath()));
    else
        entry.setValue(kEntry, QStringLiteral("URL"),
                       QUrl::fromLocalFile(targetInfo.absoluteFilePath()).toString());
    entry.setValue(kEntry, QStringLiteral("Path"), targetInfo.absolutePath());
    if (!entry.save(fileName))
        return false;
    // Desktops run only entries marked executable.
    QFile::setPermissions(fileName, QFile::permissions(fileName) | QFileDevice::ExeOwner);
    return true;
}

bool IsShortcut(const QString& path) {
    const QString lower = path.toLower();
    return lower.endsWith(kExtension) || lower.endsWith(QLatin1String(".lnk"));
}

QString GetShortcutTarget(const QString& path) {
    DesktopKeyFile entry;
    if (!entry.load(path))
        return {};
    const QString exec = entry.value(kEntry, QStringLiteral("Exec"));
    if (!exec.isEmpty()) {
        const QStringList arguments = DesktopKeyFile::splitExec(exec);
        return arguments.isEmpty() ? QString() : arguments.first();
    }
    const QString url = entry.value(kEntry, QStringLiteral("URL"));
    if (url.isEmpty())
        return {};
    const QUrl parsed(url);
    return parsed.isLocalFile() ? parsed.toLocalFile() : url;
}

QString ResolveShortcut(const QString& path) {
    if (!IsShortcut(path))
        return path;
    const QString target = GetShortcutTarget(path);
    return target.isEmpty() ? path : target;
}

} // namespace korvex
