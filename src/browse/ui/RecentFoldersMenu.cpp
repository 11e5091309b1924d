#include "RecentFoldersMenu.h"

#include "browse/FolderBrowser.h"
#include "support/FileRoutines.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace korvex {

RecentFoldersMenu::RecentFoldersMenu(FolderBrowser& browser, QWidget* parent)
    : QMenu(parent), m_browser(browser) {
    setObjectName(QStringLiteral("popRecentFolders"));
    connect(this, &QMenu::aboutToShow, this, &RecentFoldersMenu::rebuild);
}

void RecentFoldersMenu::rebuild() {
    clear();
    for (const QString& folder : m_browser.recentFolders().folders()) {
        QAction* a = addAction(LastPathPart(folder));
        a->setData(folder);
        a->setToolTip(folder);
        connect(a, &QAction::triggered, this,
                [this, folder] { m_browser.LoadDirectory(folder, -1); });
    }
    if (actions().isEmpty())
        addAction(QStringLiteral("(no recent folders)"))->setEnabled(false);
}

void RecentFoldersMenu::contextMenuEvent(QContextMenuEvent* e) {
    QAction* entry = actionAt(e->pos());
    if (!entry || entry->data().toString().isEmpty())
        return;
    QMenu context(this);
    const QString folder = entry->data().toString();
    connect(context.addAction(QStringLiteral("Remove folder from list")), &QAction::triggered, this,
            [this, folder] {
                m_browser.recentFolders().RemoveFromRecentDirectories(folder);
                rebuild();
            });
    context.exec(e->globalPos());
}

FileDropTarget::FileDropTarget(FolderBrowser& browser, QWidget* window)
    : QObject(window), m_browser(browser) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool FileDropTarget::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::DragEnter) {
        auto* drag = static_cast<QDragEnterEvent*>(e);
        if (drag->mimeData()->hasUrls()) {
            drag->acceptProposedAction();
            return true;
        }
    } else if (e->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(e);
        QStringList paths;
        for (const QUrl& url : drop->mimeData()->urls())
            if (url.isLocalFile())
                paths << url.toLocalFile();
        if (m_browser.dropFiles(paths))
            drop->acceptProposedAction();
        return true;
    }
    return QObject::eventFilter(watched, e);
}

} // namespace korvex
