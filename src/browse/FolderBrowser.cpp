#include "FolderBrowser.h"

#include "ThumbGridView.h"
#include "support/FileRoutines.h"
#include "support/Prompter.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace korvex {

bool IsPictureFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toUpper();
    return suffix == u"JPG" || suffix == u"JPEG" || suffix == u"JPE";
}

FolderBrowser::FolderBrowser(const QString& productName, Prompter* prompter, QObject* parent)
    : QObject(parent), m_product(productName), m_prompter(prompter) {}

bool FolderBrowser::Updatecurrentdirectory(const QString& folder, bool keepIfSame,
                                           bool followCurrentDirectory, bool reportMissing) {
    const QString wanted = IncludeSlash(folder);
    const bool same =
        !m_currentFolder.isEmpty() && wanted.compare(m_currentFolder, Qt::CaseInsensitive) == 0;
    if (same && keepIfSame)
        return true;
    if (same) {
        fbxsourceupdate();
        return true;
    }
    if (wanted.isEmpty() || !SafeDirectoryExists(wanted)) {
        if (reportMissing && m_prompter)
            m_prompter->message(MessageKind::Information,
                                QStringLiteral("The folder, %1, could not be found.").arg(folder));
        m_recent.RemoveFromRecentDirectories(wanted);
        return false;
    }
    const QString previous = m_currentFolder;
    m_currentFolder = wanted;
    QDir::setCurrent(wanted);
    if (followCurrentDirectory)
        m_currentFolder = IncludeSlash(QDir::currentPath());
    if (!fbxsourceupdate()) {
        m_currentFolder = previous;
        if (!previous.isEmpty())
            QDir::setCurrent(previous);
        fbxsourceupdate();
        return false;
    }
    if (m_fileList.count() > 0)
        m_recent.AddToRecentDirectories(m_currentFolder);
    return true;
}

bool FolderBrowser::listFolder() {
    const QDir dir(m_currentFolder);
    if (m_currentFolder.isEmpty() || !dir.exists() || !dir.isReadable())
        return false;
    // A refresh of the same folder keeps the check marks of the pictures still there.
    QSet<QString> checked;
    if (m_currentFolder.toUpper() == m_lastListed)
        for (const QString& path : m_fileList.CheckedPaths())
            checked.insert(path);
    QStringList items;
    const QStringList names =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        if (!IsPictureFile(name))
            continue;
        const QString path = m_currentFolder + name;
        items << (checked.contains(path) ? path : u';' + path);
    }
    m_fileList.setItems(items);
    return true;
}

bool FolderBrowser::fbxsourceupdate() {
    m_currentFolder = IncludeSlash(m_currentFolder);
    emit folderShown(LastPathPart(m_currentFolder));
    const bool ok = listFolder();
    if (!ok)
        m_fileList.setItems({});
    doselectstatus();
    fbxsourceChange();
    return ok;
}

void FolderBrowser::fbxsourceChange() {
    if (!m_grid)
        return;
    if (m_currentFolder.toUpper() != m_lastListed)
        m_grid->Reload(true, true, true);
    else
        m_grid->Reload(false, false, false);
    m_grid->focusGrid();
    m_lastListed = m_currentFolder.toUpper();
    m_grid->repaintGrid();
}

bool FolderBrowser::Change2Directory(const QString& folder) {
    clearcurrfile();
    Updatecurrentdirectory(folder, false, false, true);
    doselectstatus();
    emit captionChanged(m_product + QStringLiteral(" - ") + m_currentFolder);
    if (m_viewerMode)
        m_viewerPosition = 0;
    const bool pictures = m_fileList.count() > 0;
    if (pictures)
        emit showImageRequested();
    doselectstatus();
    return pictures;
}

bool FolderBrowser::LoadDirectory(const QString& folder, int index) {
    clearcurrfile();
    const bool ok = Updatecurrentdirectory(folder, false, false, true);
    if (m_grid)
        m_grid->ClearHighlights();
    if (index >= 0 && index < m_fileList.count()) {
        if (m_viewerMode)
            m_viewerPosition = index;
        else if (m_grid)
            m_grid->SelectIndex(index);
    }
    if (m_grid)
        m_grid->repaintGrid();
    if (m_fileList.count() > 0)
        emit showImageRequested();
    doselectstatus();
    return ok;
}

bool FolderBrowser::showFile(const QString& path) {
    const QFileInfo info(path);
    if (!Updatecurrentdirectory(info.absolutePath(), true, false, true))
        return false;
    const int index = m_fileList.indexOf(info.absoluteFilePath());
    if (index >= 0) {
        m_viewerPosition = index;
        if (m_grid) {
            m_grid->ClearHighlights();
            m_grid->SelectIndex(index);
        }
    }
    if (IsPictureFile(path))
        setcurrfile(info.absoluteFilePath());
    doselectstatus();
    return true;
}

void FolderBrowser::UpdateFileBoxAndPosition(const QString& path, bool relist) {
    if (m_batchRunning) {
        if (relist)
            fbxsourceupdate();
        return;
    }
    if (m_grid)
        m_grid->setRepaintSuppressed(true);
    if (relist)
        fbxsourceupdate();
    const int index = m_fileList.indexOf(path);
    if (index >= 0)
        m_storedPosition = index;
    m_storedPosition = std::clamp(m_storedPosition, 0, std::max(0, m_fileList.count() - 1));
    if (m_viewerMode)
        m_viewerPosition = m_storedPosition;
    else if (m_grid)
        m_grid->SelectIndex(m_storedPosition);
    if (m_grid) {
        m_grid->setRepaintSuppressed(false);
        if (!m_viewerMode)
            m_grid->repaintGrid();
    }
}

void FolderBrowser::setcurrfile(const QString& path) {
    if (!path.isEmpty()) {
        m_currentPicture = path;
    } else {
        const int index = m_viewerMode ? m_viewerPosition : (m_grid ? m_grid->currentIndex() : -1);
        m_currentPicture = m_fileList.path(index);
    }
    if (m_currentPicture.isEmpty())
        return clearcurrfile();
    const QFileInfo info(m_currentPicture);
    emit captionChanged(m_product + QStringLiteral(" - ") + info.fileName());
    emit currentFileChanged(m_currentPicture, FileNameWithoutExt(info.fileName()));
}

void FolderBrowser::clearcurrfile() {
    m_currentPicture.clear();
    emit currentFileChanged({}, {});
    doselectstatus();
}

SelectStatus FolderBrowser::doselectstatus() {
    SelectStatus s;
    s.count = m_fileList.count();
    const int index = m_viewerMode ? m_viewerPosition : (m_grid ? m_grid->currentIndex() : -1);
    s.position = index + 1;
    int deletable = 1;
    if (!m_viewerMode) {
        deletable = m_grid ? m_grid->HighlightedCount() : 0;
        if (deletable == 0 && !m_currentPicture.isEmpty())
            deletable = 1;
    }
    s.deleteEnabled = std::min(s.count, deletable) > 0;
    s.picturesEnabled = s.count >= 1;
    s.previousEnabled = s.count >= 1 && s.position > 1;
    s.nextEnabled = s.count >= 1 && s.position < s.count;
    s.positionText =
        (m_screenWidth >= 801 ? QStringLiteral("Image %1 of %2") : QStringLiteral("%1 of %2"))
            .arg(s.position)
            .arg(s.count);
    s.nothingDeletable = !s.deleteEnabled;
    if (s.nothingDeletable) {
        s.folderCaption = m_product + QStringLiteral(" - Folder: %1").arg(m_currentFolder);
        emit captionChanged(s.folderCaption);
    }
    const int checked = m_fileList.CheckedCount();
    s.selectionText = checked > 0 ? QStringLiteral("Selected: %1 of %2").arg(checked).arg(s.count)
                                  : QStringLiteral("No pictures selected");
    s.thumbMenu = !m_currentPicture.isEmpty();
    emit statusChanged(s);
    return s;
}

bool FolderBrowser::HasCheckSelection() {
    if (m_fileList.CheckedCount() > 0)
        return true;
    if (!m_prompter ||
        !m_prompter->ask(MessageKind::Confirmation,
                         QStringLiteral("You have not selected any images.  Would you like them "
                                        "all to be selected?"),
                         AskButtons::YesNo))
        return false;
    btnSelectAllClick();
    return m_fileList.CheckedCount() > 0;
}

void FolderBrowser::btnSelectAllClick() {
    m_fileList.CheckAll();
    doselectstatus();
}

void FolderBrowser::mkDeselectallClick() {
    m_fileList.UncheckAll();
    doselectstatus();
}

bool FolderBrowser::dropFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isDir())
            return Change2Directory(path), true;
        if (info.isFile() && IsPictureFile(path)) {
            if (!showFile(path))
                return false;
            emit showImageRequested();
            return true;
        }
    }
    return false;
}

} // namespace korvex
