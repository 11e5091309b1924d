#pragma once

#include "browse/GridGeometry.h"
#include "browse/ThumbGridView.h"
#include "browse/ThumbProvider.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <vector>

namespace korvex {

class DecodeQueue;
class TCheckList;
class TIEFunctions;

// A folder's pictures as a sheet of thumbnails, each with a caption and a check box. The grid
// shows an attached check list (whose items carry the check marks) and marks one current cell.
// Thumbnails come from the caches or the decode pool: a cell whose thumbnail is on its way shows
// a placeholder and is drawn again when it arrives.
class TXCheckThumbGrid : public QAbstractScrollArea, public ThumbGridView {
    Q_OBJECT
public:
    TXCheckThumbGrid(TIEFunctions& functions, DecodeQueue& queue, QWidget* parent = nullptr);
    ~TXCheckThumbGrid() override;

    void setAttachedListBox(TCheckList* list);
    TCheckList* attachedListBox() const { return m_list; }
    ThumbProvider& provider() { return m_provider; }
    ThumbCache& cache() { return m_provider.cache(); }

    // Properties of the control.
    void setThumbnailSize(int width, int height);
    void setThumbDisplayType(TThumbDisplayType type);
    void setThumbCheckingType(TThumbCheckingType type) { m_checkingType = type; }
    void setCheckBoxRight(bool right) { m_checkBoxRight = right; }
    void setThumbnailColorSelected(const QColor& c) { m_colorSelected = c; }
    void setThumbnailColorUnselected(const QColor& c) { m_colorUnselected = c; }
    void setBackgroundPictures(const QImage& selected, const QImage& unselected);
    // Check pictures for the current cell and for the others; a pair draws only when complete.
    void setCheckPictures(const QImage& checkedSel, const QImage& uncheckedSel,
                          const QImage& checkedUnsel, const QImage& uncheckedUnsel);
    void setThumbError(const QImage& picture);
    void setHideFileExtensions(bool on) { m_hideExtensions = on; }
    void setCenterText(bool on) { m_centerText = on; }
    void setHighlightCurrentCell(bool on) { m_highlightCurrent = on; }
    void setThumbnailAlwaysAddBorder(bool on) { m_alwaysBorder = on; }
    void setMultipleSelect(bool on) { m_multipleSelect = on; }
    void setFilenameTextWidth(int width);
    void setDisableComponentKeyEventHandling(bool on) { m_disableKeys = on; }
    void setPreCacheThumbnails(bool on) { m_provider.setPreCacheThumbnails(on); }
    void setNonSupportedFormatThumb(const QString& path) {
        m_provider.setNonSupportedFormatThumb(path);
    }
    void setSupportedFormats(const QString& formats) { m_provider.setSupportedFormats(formats); }

    const GridGeometry& geometry() const { return m_geometry; }
    int columnCount() const { return m_columns; }
    int rowCount() const;
    int visibleRowCount() const;
    int topRow() const;
    void setTopRow(int row);
    int itemCount() const;
    // The cell under a viewport point, -1 outside the pictures.
    int cellAt(QPoint viewportPoint) const;
    QRect cellRect(int index) const; // in viewport coordinates

    // ThumbGridView
    void Reload(bool reset, bool selectFirst, bool uncheckAll) override;
    int currentIndex() const override { return m_current; }
    int HighlightedCount() const override;
    void ClearHighlights() override;
    void SelectIndex(int index) override;
    void setRepaintSuppressed(bool suppressed) override;
    void repaintGrid() override;
    void focusGrid() override;

    void HighlightIndex(int index, bool makeCurrent);
    QStringList HighlightedPaths() const;
    QString CurrentPath() const;
    bool ToggleCheck(int index);

    // The owner's key handlers call these (the grid ignores keys itself unless told otherwise).
    bool KeyNavigate(int key);
    void KeyFinish(int key, bool shift);

    // One step of background thumbnail building; true while another could run at once.
    bool IdleStep();
    // Drops a picture's thumbnail before the program changes the file.
    void InvalidateThumb(const QString& path, ThumbCache::Which which);

signals:
    void checkMouseDown(int index);
    void checkMouseUp(int index);
    // A click or release that finished a selection (not after a check click).
    void cellMouseUp(int index);
    // The grid moved its current cell by a key it handled itself.
    void keySelected(int index);
    void idleWanted();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void updateLayout();
    void updateScrollBar();
    void ensureCurrentVisible();
    void pressSelect(int index, bool shift);
    void finishSelection(bool ctrl, bool shift);
    void thumbnailArrived(const QString& path);
    void startDrag();

    // Drawing (XCheckThumbGridPaint.cpp).
    void drawCell(QPainter& p, int index, const QRect& cell);
    void drawCaption(QPainter& p, const QString& path, const QRect& inner);
    void drawThumbnail(QPainter& p, const QString& path, const QRect& cell, bool current);
    void drawCheckBox(QPainter& p, const QRect& cell, bool checked, bool current);
    const QImage& errorPicture(bool current);

    ThumbProvider m_provider;
    QPointer<TCheckList> m_list;
    GridGeometry m_geometry;
    int m_columns = 1;

    TThumbCheckingType m_checkingType = _OnCheck;
    bool m_checkBoxRight = false;
    QColor m_colorSelected = QColor(0, 0, 128);
    QColor m_colorUnselected;
    QImage m_bgSelected, m_bgUnselected;
    QImage m_checkedSel, m_uncheckedSel, m_checkedUnsel, m_uncheckedUnsel;
    QImage m_thumbError, m_thumbErrorCurrent;
    QColor m_thumbErrorCurrentColor;
    bool m_hideExtensions = false;
    bool m_centerText = false;
    bool m_highlightCurrent = true;
    bool m_alwaysBorder = true;
    bool m_multipleSelect = false;
    bool m_disableKeys = true;

    int m_current = -1;
    int m_anchor = -1;
    std::vector<bool> m_highlighted;
    bool m_suppressed = false;
    bool m_layingOut = false;
    bool m_checkClick = false;
    bool m_invalidClick = false;
    int m_checkClickIndex = -1;
    QPoint m_pressPos;
    bool m_dragStarted = false;
    int m_paintGeneration = 0;
};

} // namespace korvex
