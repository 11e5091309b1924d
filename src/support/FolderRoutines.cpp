#include "FolderRoutines.h"

#include "FileRoutines.h"
#include "Prompter.h"

#include <QDir>
#include <QFileInfo>

namespace korvex {

QString UniqueFolderName(const QString& path, const QString& separator) {
    const auto taken = [](const QString& p) {
        const QFileInfo info(p);
        return info.exists() || info.isSymLink();
    };
    if (!taken(path))
        return path;
    const QString base = ExcludeSlash(path);
    for (qint64 n = 2;; ++n) {
        const QString candidate = base + separator + QString::number(n);
        if (!taken(candidate))
            return candidate;
    }
}

bool ForceFolder(const QString& path, bool ask, bool report, Prompter* prompter) {
    const QString folder = ExcludeSlash(path);
    if (folder.isEmpty() || folder == u"/")
        return false;
    if (QFileInfo(folder).isDir())
        return true;
    if (ask) {
        const QString question =
            QStringLiteral("The folder, %1, does not exist.  Would you like to create it?")
                .arg(folder);
        if (!prompter || !prompter->ask(MessageKind::Information, question, AskButtons::OkCancel))
            return false;
    }
    const bool created = QDir().mkpath(folder) && QFileInfo(folder).isDir();
    if (!created && report && prompter)
        prompter->message(
            MessageKind::Warning,
            QStringLiteral("An error was encountered whilst trying to create the folder, %1.")
                .arg(folder));
    return created;
}

bool ListFiles(QStringList& list, const QString& folder, const QString& extensions,
               const QString& mask, bool report, bool namesOnly, bool fullPaths,
               Prompter* prompter) {
    list.clear();
    const QDir dir(folder);
    if (folder.trimmed().isEmpty() || !dir.exists()) {
        if (report && prompter)
            prompter->message(MessageKind::Warning,
                              QStringLiteral("Unable to change to the folder, %1.").arg(folder));
        return false;
    }
    // "*.*" meant every name, with or without a dot.
    const QString filter = mask.isEmpty() || mask == u"*.*" ? QStringLiteral("*") : mask;
    const QFileInfoList entries = dir.entryInfoList(
        {filter}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDir::Name | QDir::IgnoreCase);
    const QString prefix = IncludeSlash(folder);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        if (!ExtensionInList(name, extensions))
            continue;
        if (fullPaths)
            list.append(prefix + name);
        else if (namesOnly)
            list.append(FileNameWithoutExt(name));
        else
            list.append(name);
    }
    return true;
}

} // namespace korvex
