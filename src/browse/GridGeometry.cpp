#include "GridGeometry.h"

#include <QFontMetrics>
#include <cmath>

namespace korvex {

int GridGeometry::columnWidth() const {
    switch (displayType) {
    case tdtIconInfo:
        return thumbnailWidth / 2 + filenameTextWidth + 12;
    case tdtFilename:
        return filenameTextWidth + 4;
    case tdtLargeIcon:
        break;
    }
    return thumbnailWidth + 16;
}

int GridGeometry::rowHeight() const {
    switch (displayType) {
    case tdtIconInfo:
        return thumbnailHeight / 2 + 16;
    case tdtFilename:
        return captionHeight + 4;
    case tdtLargeIcon:
        break;
    }
    return captionHeight + thumbnailHeight + 20;
}

int GridGeometry::columnCount(int gridWidth) const {
    return std::max(1, (gridWidth - 20) / columnWidth());
}

int GridGeometry::rowCount(int itemCount, int columns) const {
    columns = std::max(1, columns);
    return std::max(1, (itemCount + columns - 1) / columns);
}

QRect GridGeometry::checkBox(QPoint cell, bool checkBoxRight) const {
    const int left = checkBoxRight ? cell.x() + columnWidth() - 23 : cell.x() + 7;
    return QRect(left, cell.y() + rowHeight() - 22, 15, 15);
}

bool GridGeometry::isCheckClick(TThumbCheckingType type, bool checkBoxRight, const QRect& cell,
                                QPoint p) const {
    const int left = cell.x();
    const int right = cell.x() + columnWidth();
    const int bottom = cell.y() + rowHeight();
    const bool inBottomStrip =
        p.x() > left && p.x() < right && p.y() > bottom - 29 && p.y() < bottom;
    switch (type) {
    case _Never:
        return false;
    case _Anywhere:
        return p.x() >= left && p.x() < right && p.y() >= cell.y() && p.y() < bottom;
    case _OnBottom:
        return inBottomStrip;
    case _OnCheck:
        return inBottomStrip && (checkBoxRight ? p.x() > right - 29 : p.x() < left + 29);
    }
    return false;
}

int CaptionTextHeight(qreal pointSize, qreal dotsPerInch) {
    return int(std::nearbyint(pointSize * dotsPerInch / 72.0));
}

bool IsNavigationKey(int key) {
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

int KeyNavigateTarget(int key, int current, int count, int columns, int visibleRows,
                      int visibleColumns) {
    if (count <= 0)
        return -1;
    const int page = std::max(0, visibleRows - 1) * visibleColumns;
    int target = -1;
    switch (key) {
    case Qt::Key_PageUp:
        target = std::max(0, current - page);
        break;
    case Qt::Key_PageDown:
        target = std::min(count - 1, current + page);
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = count - 1;
        break;
    case Qt::Key_Left:
        target = current - 1;
        break;
    case Qt::Key_Right:
        target = current + 1;
        break;
    case Qt::Key_Up:
        target = current - columns;
        break;
    case Qt::Key_Down:
        target = current + columns;
        break;
    default:
        return -1;
    }
    return target >= 0 && target < count ? target : -1;
}

QString FitCaption(const QFontMetrics& metrics, const QString& caption, int width) {
    if (metrics.horizontalAdvance(caption) <= width)
        return caption;
    QString text = caption + QStringLiteral("..");
    while (metrics.horizontalAdvance(text) > width && text.size() >= 4)
        text.remove(text.size() - 3, 1);
    return text;
}

QString MinimizeString(const QFontMetrics& metrics, const QString& text, int width) {
    if (metrics.horizontalAdvance(text) < width)
        return text;
    QString shortened = text;
    while (!shortened.isEmpty() &&
           metrics.horizontalAdvance(shortened + QStringLiteral("...")) > width)
        shortened.chop(1);
    while (shortened.endsWith(u' '))
        shortened.chop(1);
    return shortened + QStringLiteral("...");
}

} // namespace korvex
