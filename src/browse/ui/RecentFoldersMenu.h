#pragma once

#include <QMenu>

namespace korvex {

class FolderBrowser;

// The pop-up of recently viewed folders, listed by their last component. Choosing one opens
// it; its context menu removes an entry from the list.
class RecentFoldersMenu : public QMenu {
    Q_OBJECT
public:
    RecentFoldersMenu(FolderBrowser& browser, QWidget* parent = nullptr);

protected:
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    void rebuild();

    FolderBrowser& m_browser;
};

// Opens what a file manager drops on the watched window: the first picture or folder.
class FileDropTarget : public QObject {
    Q_OBJECT
public:
    FileDropTarget(FolderBrowser& browser, QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    FolderBrowser& m_browser;
};

} // namespace korvex
