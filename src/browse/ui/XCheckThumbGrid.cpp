#include "XCheckThumbGrid.h"

#include "browse/CheckList.h"

#include <QApplication>
#include <QDrag>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QUrl>
#include <QWheelEvent>

namespace korvex {

TXCheckThumbGrid::TXCheckThumbGrid(TIEFunctions& functions, DecodeQueue& queue, QWidget* parent)
    : QAbstractScrollArea(parent), m_provider(functions, queue) {
    setObjectName(QStringLiteral("ThumbGrid"));
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setSingleStep(1);
    m_colorUnselected = palette().color(QPalette::Base);
    const QFont f = font();
    m_geometry.captionHeight =
        CaptionTextHeight(f.pointSizeF() > 0 ? f.pointSizeF() : 9, logicalDpiY());
    connect(&m_provider, &ThumbProvider::thumbnailReady, this, &TXCheckThumbGrid::thumbnailArrived);
    connect(&m_provider, &ThumbProvider::thumbnailFailed, this,
            &TXCheckThumbGrid::thumbnailArrived);
    connect(&m_provider, &ThumbProvider::idleWanted, this, &TXCheckThumbGrid::idleWanted);
}

TXCheckThumbGrid::~TXCheckThumbGrid() {
    m_provider.cache().saveIndex();
}

void TXCheckThumbGrid::setAttachedListBox(TCheckList* list) {
    if (m_list)
        disconnect(m_list, nullptr, this, nullptr);
    m_list = list;
    if (m_list)
        connect(m_list, &TCheckList::changed, this, [this] {
            // A list that shrank under the grid must not leave the current cell behind.
            if (m_current >= itemCount())
                m_current = itemCount() - 1;
            m_highlighted.resize(size_t(itemCount()), false);
            updateScrollBar();
            repaintGrid();
        });
    Reload(true, false, false);
}

void TXCheckThumbGrid::setThumbnailSize(int width, int height) {
    m_geometry.thumbnailWidth = width;
    m_geometry.thumbnailHeight = height;
    m_provider.cache().setThumbnailSize(width, height);
    updateLayout();
}

void TXCheckThumbGrid::setThumbDisplayType(TThumbDisplayType type) {
    m_geometry.displayType = type;
    updateLayout();
}

void TXCheckThumbGrid::setFilenameTextWidth(int width) {
    m_geometry.filenameTextWidth = width;
    updateLayout();
}

void TXCheckThumbGrid::setBackgroundPictures(const QImage& selected, const QImage& unselected) {
    m_bgSelected = selected;
    m_bgUnselected = unselected;
}

void TXCheckThumbGrid::setCheckPictures(const QImage& checkedSel, const QImage& uncheckedSel,
                                        const QImage& checkedUnsel, const QImage& uncheckedUnsel) {
    m_checkedSel = checkedSel;
    m_uncheckedSel = uncheckedSel;
    m_checkedUnsel = checkedUnsel;
    m_uncheckedUnsel = uncheckedUnsel;
}

void TXCheckThumbGrid::setThumbError(const QImage& picture) {
    m_thumbError = picture;
    m_thumbErrorCurrent = QImage();
}

int TXCheckThumbGrid::itemCount() const {
    return m_list ? m_list->count() : 0;
}

int TXCheckThumbGrid::rowCount() const {
    return m_geometry.rowCount(itemCount(), m_columns);
}

int TXCheckThumbGrid::visibleRowCount() const {
    return std::max(1, viewport()->height() / m_geometry.rowHeight());
}

int TXCheckThumbGrid::topRow() const {
    return verticalScrollBar()->value();
}

void TXCheckThumbGrid::setTopRow(int row) {
    verticalScrollBar()->setValue(row);
}

QRect TXCheckThumbGrid::cellRect(int index) const {
    const int row = index / m_columns - topRow();
    const int column = index % m_columns;
    return QRect(column * m_geometry.columnWidth(), row * m_geometry.rowHeight(),
                 m_geometry.columnWidth(), m_geometry.rowHeight());
}

int TXCheckThumbGrid::cellAt(QPoint p) const {
    if (p.x() < 0 || p.y() < 0)
        return -1;
    const int column = p.x() / m_geometry.columnWidth();
    if (column >= m_columns)
        return -1;
    const int index = (p.y() / m_geometry.rowHeight() + topRow()) * m_columns + column;
    return index < itemCount() ? index : -1;
}

void TXCheckThumbGrid::updateLayout() {
    // The grid's width counts the scroll bar, as the panel's column rule does.
    m_columns = m_geometry.columnCount(width());
    updateScrollBar();
    viewport()->update();
}

void TXCheckThumbGrid::updateScrollBar() {
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, rowCount() - visibleRowCount()));
    bar->setPageStep(visibleRowCount());
}

void TXCheckThumbGrid::ensureCurrentVisible() {
    if (m_current < 0)
        return;
    const int row = m_current / m_columns;
    if (row < topRow())
        setTopRow(row);
    else if (row >= topRow() + visibleRowCount())
        setTopRow(row - visibleRowCount() + 1);
}

void TXCheckThumbGrid::Reload(bool reset, bool selectFirst, bool uncheckAll) {
    m_layingOut = true;
    const int count = itemCount();
    if (reset) {
        m_provider.reset();
        m_current = count > 0 ? 0 : -1;
        if (uncheckAll && m_list)
            m_list->UncheckAll();
    } else if (m_current >= count) {
        m_current = count - 1;
    } else if (m_current < 0 && count > 0) {
        m_current = 0;
    }
    m_provider.clearMissingFolder();
    m_highlighted.assign(size_t(count), false);
    updateLayout();
    setTopRow(0);
    m_layingOut = false;
    if (selectFirst && m_current >= 0)
        finishSelection(false, false);
    ensureCurrentVisible();
    repaintGrid();
}

int TXCheckThumbGrid::HighlightedCount() const {
    return int(std::count(m_highlighted.begin(), m_highlighted.end(), true));
}

void TXCheckThumbGrid::ClearHighlights() {
    std::fill(m_highlighted.begin(), m_highlighted.end(), false);
    repaintGrid();
}

void TXCheckThumbGrid::HighlightIndex(int index, bool makeCurrent) {
    if (index < 0 || index >= itemCount())
        return;
    m_highlighted[size_t(index)] = true;
    if (makeCurrent)
        m_current = index;
    repaintGrid();
}

void TXCheckThumbGrid::SelectIndex(int index) {
    if (index < 0 || index >= itemCount())
        return;
    if (!m_multipleSelect)
        std::fill(m_highlighted.begin(), m_highlighted.end(), false);
    m_highlighted[size_t(index)] = true;
    m_current = index;
    ensureCurrentVisible();
    repaintGrid();
}

QStringList TXCheckThumbGrid::HighlightedPaths() const {
    QStringList paths;
    for (int i = 0; i < itemCount(); ++i)
        if (m_highlighted[size_t(i)])
            paths << m_list->path(i);
    return paths;
}

QString TXCheckThumbGrid::CurrentPath() const {
    return m_list ? m_list->path(m_current) : QString();
}

bool TXCheckThumbGrid::ToggleCheck(int index) {
    if (!m_list)
        return false;
    return m_list->ToggleCheck(index);
}

void TXCheckThumbGrid::setRepaintSuppressed(bool suppressed) {
    m_suppressed = suppressed;
}

void TXCheckThumbGrid::repaintGrid() {
    if (!m_suppressed)
        viewport()->update();
}

void TXCheckThumbGrid::focusGrid() {
    if (isVisible())
        setFocus();
}

void TXCheckThumbGrid::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    const int columns = m_geometry.columnCount(width());
    if (columns == m_columns) {
        updateScrollBar();
        return;
    }
    const std::vector<bool> highlighted = m_highlighted;
    const int current = m_current;
    m_columns = columns;
    Reload(false, false, false);
    if (highlighted.size() == m_highlighted.size())
        m_highlighted = highlighted;
    m_current = current;
    ensureCurrentVisible();
    repaintGrid();
}

void TXCheckThumbGrid::scrollContentsBy(int, int) {
    viewport()->update();
}

void TXCheckThumbGrid::pressSelect(int index, bool shift) {
    m_current = index;
    if (!shift)
        m_anchor = index;
    if (!m_multipleSelect)
        std::fill(m_highlighted.begin(), m_highlighted.end(), false);
    m_highlighted[size_t(index)] = true;
    repaintGrid();
}

void TXCheckThumbGrid::finishSelection(bool ctrl, bool shift) {
    if (m_current < 0 || m_current >= itemCount())
        return;
    if (m_multipleSelect) {
        if (ctrl && !shift) {
            m_highlighted[size_t(m_current)] = !m_highlighted[size_t(m_current)];
        } else if (shift) {
            if (!ctrl)
                std::fill(m_highlighted.begin(), m_highlighted.end(), false);
            const int from = std::clamp(m_anchor < 0 ? m_current : m_anchor, 0, itemCount() - 1);
            for (int i = std::min(from, m_current); i <= std::max(from, m_current); ++i)
                m_highlighted[size_t(i)] = true;
        }
    } else {
        std::fill(m_highlighted.begin(), m_highlighted.end(), false);
        m_highlighted[size_t(m_current)] = true;
    }
    ensureCurrentVisible();
    repaintGrid();
}

void TXCheckThumbGrid::mousePressEvent(QMouseEvent* e) {
    m_pressPos = e->position().toPoint();
    m_dragStarted = false;
    const int index = cellAt(m_pressPos);
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    if (index >= 0 && e->button() != Qt::RightButton &&
        m_geometry.isCheckClick(m_checkingType, m_checkBoxRight, cellRect(index), m_pressPos)) {
        ToggleCheck(index);
        m_checkClick = true;
        m_invalidClick = false;
        m_checkClickIndex = index;
        emit checkMouseDown(index);
        return;
    }
    m_checkClick = false;
    if (index < 0) {
        m_invalidClick = true;
        return;
    }
    m_invalidClick = false;
    pressSelect(index, shift);
    setFocus(Qt::MouseFocusReason);
}

void TXCheckThumbGrid::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons() == Qt::NoButton || m_invalidClick || m_checkClick || m_dragStarted)
        return;
    const QPoint d = e->position().toPoint() - m_pressPos;
    if (std::abs(d.x()) >= 50 || std::abs(d.y()) >= 50)
        startDrag();
}

void TXCheckThumbGrid::startDrag() {
    m_dragStarted = true;
    QStringList paths = HighlightedPaths();
    if (paths.size() < 2)
        paths = QStringList{CurrentPath()};
    QList<QUrl> urls;
    for (const QString& path : std::as_const(paths))
        if (!path.isEmpty())
            urls << QUrl::fromLocalFile(path);
    if (urls.isEmpty())
        return;
    auto* data = new QMimeData;
    data->setUrls(urls);
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
}

void TXCheckThumbGrid::mouseReleaseEvent(QMouseEvent* e) {
    if (m_invalidClick || itemCount() == 0 || m_dragStarted)
        return;
    if (m_checkClick) {
        m_checkClick = false;
        emit checkMouseUp(m_checkClickIndex);
        return;
    }
    finishSelection(e->modifiers() & Qt::ControlModifier, e->modifiers() & Qt::ShiftModifier);
    emit cellMouseUp(m_current);
}

void TXCheckThumbGrid::wheelEvent(QWheelEvent* e) {
    const int notches = e->angleDelta().y() / 120;
    if (notches != 0)
        setTopRow(topRow() - notches);
    e->accept();
}

bool TXCheckThumbGrid::KeyNavigate(int key) {
    const int visibleColumns =
        std::max(1, std::min(m_columns, viewport()->width() / m_geometry.columnWidth()));
    const int target = KeyNavigateTarget(key, m_current, itemCount(), m_columns, visibleRowCount(),
                                         visibleColumns);
    if (target < 0)
        return false;
    pressSelect(target, QApplication::keyboardModifiers() & Qt::ShiftModifier);
    ensureCurrentVisible();
    return true;
}

void TXCheckThumbGrid::KeyFinish(int key, bool shift) {
    if (IsNavigationKey(key))
        finishSelection(shift, false);
}

void TXCheckThumbGrid::keyPressEvent(QKeyEvent* e) {
    if (m_disableKeys || !IsNavigationKey(e->key()))
        return e->ignore();
    KeyNavigate(e->key());
}

void TXCheckThumbGrid::keyReleaseEvent(QKeyEvent* e) {
    if (m_disableKeys || !IsNavigationKey(e->key()) || e->isAutoRepeat())
        return e->ignore();
    KeyFinish(e->key(), e->modifiers() & Qt::ShiftModifier);
    emit keySelected(m_current);
}

bool TXCheckThumbGrid::IdleStep() {
    return m_list && m_provider.IdleStep(*m_list);
}

void TXCheckThumbGrid::InvalidateThumb(const QString& path, ThumbCache::Which which) {
    m_provider.InvalidateThumb(path, which);
    repaintGrid();
}

void TXCheckThumbGrid::thumbnailArrived(const QString& path) {
    if (!m_list || m_suppressed)
        return;
    const int index = m_list->indexOf(path);
    const QRect cell = index >= 0 ? cellRect(index) : QRect();
    if (cell.intersects(viewport()->rect()))
        viewport()->update(cell);
}

} // namespace korvex
