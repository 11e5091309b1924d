#include "FileRoutines.h"
#include "FolderRoutines.h"
#include "Prompter.h"
#include "ShellRoutines.h"
#include "TextRoutines.h"
#include "platform/Trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>

namespace korvex {

namespace {

enum class Collision { Ask, Replace, Rename };

struct Operation {
    bool move = false;
    Collision collision = Collision::Ask;
    bool filesOnly = false;
    Prompter* prompter = nullptr;
    bool skipped = false; // the user declined at least one replacement
};

bool hasWildcard(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    return name.contains(u'*') || name.contains(u'?');
}

bool taken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The listed paths with wildcards expanded; false when a named path does not exist.
bool expand(const QString& list, bool filesOnly, QStringList& paths) {
    const QStringList entries = SplitText(list, u';', false);
    for (const QString& raw : entries) {
        const QString entry = raw.trimmed();
        if (entry.isEmpty())
            continue;
        if (!hasWildcard(entry)) {
            if (!taken(entry))
                return false;
            paths.append(QFileInfo(entry).absoluteFilePath());
            continue;
        }
        const QFileInfo pattern(entry);
        QDir::Filters filters = QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        if (!filesOnly)
            filters |= QDir::Dirs;
        const QFileInfoList matches =
            QDir(pattern.absolutePath()).entryInfoList({pattern.fileName()}, filters, QDir::Name);
        for (const QFileInfo& match : matches)
            paths.append(match.absoluteFilePath());
    }
    return true;
}

bool isInside(const QString& path, const QString& folder) {
    const QString p = QDir::cleanPath(path);
    const QString f = QDir::cleanPath(folder);
    return p == f || p.startsWith(f + u'/');
}

bool copyTree(const QString& source, const QString& target) {
    if (!QFileInfo(source).isDir())
        return CopyFileChecked(source, target, true);
    if (!QDir().mkpath(target))
        return false;
    const QFileInfoList entries = QDir(source).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                             QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        const QString to = target + u'/' + entry.fileName();
        if (QFileInfo(to).isFile())
            ClearReadOnly(to);
        if (!copyTree(entry.absoluteFilePath(), to))
            return false;
    }
    return true;
}

bool moveEntry(const QString& source, const QString& target) {
    const bool isDir = QFileInfo(source).isDir();
    if (!isDir || !taken(target)) {
        if (std::rename(QFile::encodeName(source).constData(),
                        QFile::encodeName(target).constData()) == 0)
            return true;
        if (errno != EXDEV)
            return false;
        if (!isDir)
            return MoveFileByCopy(source, target, true);
    }
    // A folder onto another volume, or into an existing folder of the same name: copy, then
    // remove the original only when the copy is complete.
    return copyTree(source, target) && QDir(source).removeRecursively();
}

// Decides what happens when target is taken; false ends the operation with a failure.
enum class Step { Proceed, Skip, Fail };
Step resolveCollision(Operation& op, const QString& source, QString& target) {
    if (!taken(target))
        return Step::Proceed;
    if (QDir::cleanPath(source) == QDir::cleanPath(target)) {
        if (op.move)
            return Step::Skip;
        if (op.collision != Collision::Rename)
            return Step::Fail;
    }
    const bool sourceIsDir = QFileInfo(source).isDir();
    if (sourceIsDir != QFileInfo(target).isDir()) {
        // A file never replaces a folder, nor a folder a file.
        if (op.collision != Collision::Rename)
            return Step::Fail;
        target = UniqueFileName(target);
        return target.isEmpty() ? Step::Fail : Step::Proceed;
    }
    switch (op.collision) {
    case Collision::Rename:
        target = sourceIsDir ? UniqueFolderName(target) : UniqueFileName(target);
        return target.isEmpty() ? Step::Fail : Step::Proceed;
    case Collision::Ask: {
        const QString question =
            QStringLiteral("The %1, %2, already exists.  Do you want to replace it?")
                .arg(sourceIsDir ? QStringLiteral("folder") : QStringLiteral("file"), target);
        if (!op.prompter ||
            !op.prompter->ask(MessageKind::Confirmation, question, AskButtons::YesNo)) {
            op.skipped = true;
            return Step::Skip;
        }
        break;
    }
    case Collision::Replace:
        break;
    }
    if (!sourceIsDir)
        ClearReadOnly(target);
    return Step::Proceed;
}

int transfer(const QString& from, const QString& to, Operation op) {
    QStringList sources;
    if (!expand(from, op.filesOnly, sources))
        return ShellFailed;
    if (sources.isEmpty())
        return hasWildcard(from) ? ShellDone : ShellFailed;
    const QStringList destinations = SplitText(to, u';', false);
    if (destinations.isEmpty())
        return ShellFailed;

    QStringList targets;
    if (destinations.size() > 1) {
        if (destinations.size() != sources.size())
            return ShellFailed;
        for (const QString& d : destinations)
            targets.append(QFileInfo(d.trimmed()).absoluteFilePath());
    } else {
        const QString dest = destinations.first().trimmed();
        const bool intoFolder = sources.size() > 1 || QFileInfo(dest).isDir() ||
                                dest.endsWith(u'/') || hasWildcard(from);
        if (!intoFolder) {
            targets.append(QFileInfo(dest).absoluteFilePath());
        } else {
            if (!QDir().mkpath(dest))
                return ShellFailed;
            const QString folder = IncludeSlash(QFileInfo(dest).absoluteFilePath());
            for (const QString& s : std::as_const(sources))
                targets.append(folder + QFileInfo(s).fileName());
        }
    }

    for (qsizetype i = 0; i < sources.size(); ++i) {
        const QString& source = sources[i];
        QString target = targets[i];
        if (QFileInfo(source).isDir() && isInside(target, source) &&
            QDir::cleanPath(target) != QDir::cleanPath(source))
            return ShellFailed;
        switch (resolveCollision(op, source, target)) {
        case Step::Fail:
            return ShellFailed;
        case Step::Skip:
            continue;
        case Step::Proceed:
            break;
        }
        QDir().mkpath(QFileInfo(target).absolutePath());
        const bool ok = op.move ? moveEntry(source, target) : copyTree(source, target);
        if (!ok)
            return ShellFailed;
    }
    return op.skipped ? ShellAborted : ShellDone;
}

} // namespace

int ShellMoveOrCopy(const QString& from, const QString& to, bool move, Prompter* prompter) {
    return transfer(from, to, {move, Collision::Ask, false, prompter});
}

bool ShellCopy(const QString& from, const QString& to, bool renameOnCollision, bool noConfirm,
               Prompter* prompter) {
    const Collision collision = renameOnCollision ? Collision::Rename
                                : noConfirm       ? Collision::Replace
                                                  : Collision::Ask;
    return transfer(from, to, {false, collision, true, prompter}) == ShellDone;
}

bool ShellMove(const QString& from, const QString& to, bool renameOnCollision, bool confirm,
               Prompter* prompter) {
    const Collision collision = renameOnCollision ? Collision::Rename
                                : confirm         ? Collision::Ask
                                                  : Collision::Replace;
    return transfer(from, to, {true, collision, true, prompter}) == ShellDone;
}

bool ShellDelete(const QString& files, bool recycle, bool confirm, bool /*silent*/,
                 Prompter* prompter) {
    QStringList paths;
    if (!expand(files, true, paths) || (paths.isEmpty() && !hasWildcard(files)))
        return false;
    if (confirm && !paths.isEmpty()) {
        const QString what = paths.size() == 1
                                 ? QStringLiteral("'%1'").arg(QFileInfo(paths.first()).fileName())
                                 : QStringLiteral("these %1 items").arg(paths.size());
        const QString question =
            recycle ? QStringLiteral("Are you sure you want to move %1 to the trash?").arg(what)
                    : QStringLiteral("Are you sure you want to delete %1 for good?").arg(what);
        if (!prompter || !prompter->ask(MessageKind::Confirmation, question, AskButtons::YesNo))
            return false;
    }
    for (const QString& path : std::as_const(paths)) {
        if (recycle && moveToTrash(path))
            continue;
        if (recycle) {
            const QString question =
                QStringLiteral("The file, %1, cannot be moved to the trash.  Do you want to "
                               "delete it for good?")
                    .arg(path);
            if (!prompter || !prompter->ask(MessageKind::Confirmation, question, AskButtons::YesNo))
                return false;
        }
        const bool removed = QFileInfo(path).isDir() && !QFileInfo(path).isSymLink()
                                 ? QDir(path).removeRecursively()
                                 : QFile::remove(path);
        if (!removed)
            return false;
    }
    return true;
}

} // namespace korvex
