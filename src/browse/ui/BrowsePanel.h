#pragma once

#include "browse/FolderBrowser.h"
#include "browse/ThumbCache.h"

#include <QWidget>
#include <memory>

class QLabel;
class QToolButton;

namespace korvex {

class DecodeQueue;
class Prompter;
class RecentFoldersMenu;
class TIEFunctions;
class TXCheckThumbGrid;

// The main window's thumbnail panel: the folder label with the recent-folders pop-up, and the
// check grid over the folder's pictures. It holds the folder and selection state, so that the
// window only places it, forwards commands and idle turns, and shows what it reports.
class BrowsePanel : public QWidget {
    Q_OBJECT
public:
    BrowsePanel(TIEFunctions& functions, Prompter* prompter, const QString& productName,
                QWidget* parent = nullptr);
    ~BrowsePanel() override;

    FolderBrowser& browser() { return *m_browser; }
    TXCheckThumbGrid& grid() { return *m_grid; }
    DecodeQueue& decodeQueue() { return *m_queue; }

    // The disk cache in cacheFolder, its size bounded by the free space of that drive.
    void setCacheFolder(const QString& cacheFolder);
    void setHideFileExtensions(bool on);
    // Lets a file manager drop pictures or folders on window.
    void acceptDropsOn(QWidget* window);

    // Get pictures: the grid's disk cache rests while the user picks a folder.
    void getPictures();
    void popUpRecentFolders();

    // Before the program changes, renames, moves or deletes a picture: its thumbnail goes from
    // memory, or from memory and disk (file and index line).
    void deletethumb(const QString& path, ThumbCache::Which kind);

    // One idle turn of background thumbnail work; true while more could run at once.
    bool idleStep();
    void releaseRepaint();

signals:
    // The user chose a picture in the grid (click or key): show it.
    void pictureChosen();
    // Background work became possible again: the owner should run an idle turn.
    void idleWanted();

private:
    QLabel* m_folderLabel = nullptr;
    QToolButton* m_recentButton = nullptr;
    TIEFunctions& m_functions;
    DecodeQueue* m_queue = nullptr;
    TXCheckThumbGrid* m_grid = nullptr;
    std::unique_ptr<FolderBrowser> m_browser;
    RecentFoldersMenu* m_recentMenu = nullptr;
    QString m_folderName;
};

} // namespace korvex
