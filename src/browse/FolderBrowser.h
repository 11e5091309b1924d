#pragma once

#include "CheckList.h"
#include "RecentFolders.h"

#include <QObject>
#include <QString>

namespace korvex {

class Prompter;
class ThumbGridView;

// The status texts and button states that follow from the folder, the selection and the checks.
struct SelectStatus {
    int position = 0; // 1-based
    int count = 0;
    bool deleteEnabled = false;
    bool picturesEnabled = false; // order, share, upload, slide show, full screen
    bool previousEnabled = false;
    bool nextEnabled = false;
    QString positionText;
    QString selectionText;
    bool nothingDeletable = false; // the name labels are cleared and the caption names the folder
    QString folderCaption;
    bool thumbMenu = false; // the thumbnail context menu is offered
};

// The folder the main window shows, its JPEG list (the grid's check list), the current
// picture, the check selection and the recently viewed folders. The window holds one and
// forwards its commands; everything it shows comes back through the signals.
class FolderBrowser : public QObject {
    Q_OBJECT
public:
    FolderBrowser(const QString& productName, Prompter* prompter, QObject* parent = nullptr);

    void attachGrid(ThumbGridView* grid) { m_grid = grid; }
    TCheckList& fileList() { return m_fileList; }
    RecentFolders& recentFolders() { return m_recent; }

    QString GetCurrentFolder() const { return m_currentFolder; }
    QString currentPicture() const { return m_currentPicture; }
    // Full-screen mode or slide show: the viewer position stands for the grid's current cell.
    void setViewerMode(bool on) { m_viewerMode = on; }
    int viewerPosition() const { return m_viewerPosition; }
    void setViewerPosition(int index) { m_viewerPosition = index; }
    void setScreenWidth(int width) { m_screenWidth = width; }
    // A batch command is running: refreshes only re-list.
    void setBatchRunning(bool on) { m_batchRunning = on; }

    bool Updatecurrentdirectory(const QString& folder, bool keepIfSame, bool followCurrentDirectory,
                                bool reportMissing);
    bool fbxsourceupdate();
    void fbxsourceChange();
    // A folder chosen by the user; true when it has pictures (the caller shows the first).
    bool Change2Directory(const QString& folder);
    // A folder from the recent list or after acquisition; index -1 selects nothing.
    bool LoadDirectory(const QString& folder, int index);
    // Opens the picture's folder and makes the picture current (a picture given to the program).
    bool showFile(const QString& path);
    void UpdateFileBoxAndPosition(const QString& path, bool relist);

    void setcurrfile(const QString& path = {});
    void clearcurrfile();
    SelectStatus doselectstatus();
    bool HasCheckSelection();
    void btnSelectAllClick();
    void mkDeselectallClick();

    // Opens what a file manager dropped on the window: the first picture or folder.
    bool dropFiles(const QStringList& paths);

signals:
    void folderShown(const QString& folderName); // the folder label
    void captionChanged(const QString& caption);
    void currentFileChanged(const QString& path, const QString& name); // name without extension
    void statusChanged(const SelectStatus& status);
    void showImageRequested();

private:
    bool listFolder();

    QString m_product;
    Prompter* m_prompter;
    ThumbGridView* m_grid = nullptr;
    TCheckList m_fileList;
    RecentFolders m_recent;
    QString m_currentFolder;
    QString m_lastListed;
    QString m_currentPicture;
    int m_viewerPosition = 0;
    int m_storedPosition = 0;
    bool m_viewerMode = false;
    bool m_batchRunning = false;
    int m_screenWidth = 1280;
};

// A JPEG by its extension: ".jpg", ".jpeg" or ".jpe" in any case.
bool IsPictureFile(const QString& path);

} // namespace korvex
