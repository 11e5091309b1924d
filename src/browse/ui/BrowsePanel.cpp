#include "BrowsePanel.h"

#include "GridArtwork.h"
#include "RecentFoldersMenu.h"
#include "XCheckThumbGrid.h"
#include "browse/GridGeometry.h"
#include "imaging/DecodeQueue.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QStorageInfo>
#include <QToolButton>
#include <QVBoxLayout>

namespace korvex {

namespace {

// The folder label opens the recent folders like the button beside it.
class FolderLabel : public QLabel {
public:
    FolderLabel(BrowsePanel* panel) : QLabel(panel), m_panel(panel) {
        setCursor(Qt::PointingHandCursor);
        setToolTip(QStringLiteral("Select Folder..."));
    }

protected:
    void mousePressEvent(QMouseEvent*) override { m_panel->popUpRecentFolders(); }

private:
    BrowsePanel* m_panel;
};

} // namespace

BrowsePanel::BrowsePanel(TIEFunctions& functions, Prompter* prompter, const QString& productName,
                         QWidget* parent)
    : QWidget(parent), m_functions(functions),
      m_browser(std::make_unique<FolderBrowser>(productName, prompter)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* header = new QHBoxLayout;
    header->setContentsMargins(6, 4, 2, 0);
    m_folderLabel = new FolderLabel(this);
    m_folderLabel->setObjectName(QStringLiteral("lblFolder"));
    QFont bold = m_folderLabel->font();
    bold.setBold(true);
    m_folderLabel->setFont(bold);
    m_recentButton = new QToolButton(this);
    m_recentButton->setObjectName(QStringLiteral("btnRecentFolders"));
    m_recentButton->setArrowType(Qt::DownArrow);
    m_recentButton->setAutoRaise(true);
    m_recentButton->setToolTip(QStringLiteral("Display recently-viewed folders"));
    header->addWidget(m_folderLabel, 1);
    header->addWidget(m_recentButton);
    layout->addLayout(header);

    m_queue = new DecodeQueue(this);
    m_grid = new TXCheckThumbGrid(m_functions, *m_queue, this);
    layout->addWidget(m_grid, 1);
    m_grid->setThumbnailSize(90, 75);
    m_grid->setThumbDisplayType(tdtLargeIcon);
    m_grid->setThumbCheckingType(_OnBottom);
    m_grid->setCheckBoxRight(false);
    const QColor selected(204, 204, 255);
    m_grid->setThumbnailColorSelected(selected);
    m_grid->setThumbnailColorUnselected(Qt::white);
    m_grid->setCheckPictures(CheckBoxPicture(true, selected), CheckBoxPicture(false, selected),
                             CheckBoxPicture(true, Qt::white), CheckBoxPicture(false, Qt::white));
    m_grid->setThumbError(ThumbErrorPicture());
    m_grid->setCenterText(true);
    m_grid->setHighlightCurrentCell(true);
    m_grid->setThumbnailAlwaysAddBorder(false);
    m_grid->setMultipleSelect(false);
    // Until the viewer's key table exists the grid moves with the arrow keys itself.
    m_grid->setDisableComponentKeyEventHandling(false);
    m_grid->setAttachedListBox(&m_browser->fileList());
    m_browser->attachGrid(m_grid);

    m_recentMenu = new RecentFoldersMenu(*m_browser, this);
    connect(m_recentButton, &QToolButton::clicked, this, &BrowsePanel::popUpRecentFolders);

    connect(m_browser.get(), &FolderBrowser::folderShown, this, [this](const QString& name) {
        m_folderName = name;
        m_folderLabel->setText(
            MinimizeString(m_folderLabel->fontMetrics(), name, std::max(40, width() - 40)));
        m_folderLabel->setToolTip(m_browser->GetCurrentFolder());
    });
    const auto chosen = [this] {
        m_browser->setcurrfile();
        m_browser->doselectstatus();
        emit pictureChosen();
    };
    connect(m_browser.get(), &FolderBrowser::showImageRequested, this, chosen);
    connect(m_grid, &TXCheckThumbGrid::cellMouseUp, this, chosen);
    connect(m_grid, &TXCheckThumbGrid::keySelected, this, chosen);
    connect(m_grid, &TXCheckThumbGrid::checkMouseUp, this, [this] { m_browser->doselectstatus(); });
    connect(m_grid, &TXCheckThumbGrid::idleWanted, this, &BrowsePanel::idleWanted);
}

BrowsePanel::~BrowsePanel() = default;

void BrowsePanel::setCacheFolder(const QString& cacheFolder) {
    const QStorageInfo storage(cacheFolder);
    const qint64 free = storage.isValid() ? storage.bytesAvailable() : -1;
    m_grid->cache().setMaxDiskCount(DiskCacheLimitForFreeSpace(free));
    m_grid->cache().setDiskCacheDirectory(cacheFolder);
}

void BrowsePanel::setHideFileExtensions(bool on) {
    m_grid->setHideFileExtensions(on);
    m_grid->repaintGrid();
}

void BrowsePanel::acceptDropsOn(QWidget* window) {
    new FileDropTarget(*m_browser, window);
}

void BrowsePanel::getPictures() {
    // Another grid may work on the same cache folder meanwhile; it finds our index saved.
    m_grid->cache().suspend();
    const QString folder = QFileDialog::getExistingDirectory(
        window(), QStringLiteral("Get pictures"), m_browser->GetCurrentFolder());
    m_grid->cache().resume();
    if (!folder.isEmpty())
        m_browser->Change2Directory(folder);
}

void BrowsePanel::popUpRecentFolders() {
    if (m_recentMenu->isVisible()) {
        m_recentMenu->close();
        return;
    }
    m_recentMenu->popup(mapToGlobal(QPoint(1, 11)));
}

void BrowsePanel::deletethumb(const QString& path, ThumbCache::Which kind) {
    m_grid->InvalidateThumb(path, kind);
}

bool BrowsePanel::idleStep() {
    return !m_browser->GetCurrentFolder().isEmpty() && m_grid->IdleStep();
}

void BrowsePanel::releaseRepaint() {
    m_grid->setRepaintSuppressed(false);
    m_grid->repaintGrid();
}

} // namespace korvex
