// Drawing of the check grid's cells.
#include "XCheckThumbGrid.h"
#include "browse/CheckList.h"
#include "support/FileRoutines.h"

#include <QFileInfo>
#include <QPaintEvent>
#include <QPainter>
#include <deque>

namespace korvex {

namespace {

// Fills the white area around start with colour, as a paint bucket does.
void floodFill(QImage& image, QPoint start, QColor colour) {
    if (!image.rect().contains(start) || image.pixel(start) != qRgb(255, 255, 255))
        return;
    const QRgb from = image.pixel(start);
    const QRgb to = colour.rgb();
    if (from == to)
        return;
    std::deque<QPoint> todo{start};
    while (!todo.empty()) {
        const QPoint p = todo.front();
        todo.pop_front();
        if (!image.rect().contains(p) || image.pixel(p) != from)
            continue;
        image.setPixel(p, to);
        todo.insert(todo.end(),
                    {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
}

// The picture fitted into box, keeping its proportions, centred on the other axis.
QRect fittedInto(QSize picture, const QRect& box) {
    if (picture.isEmpty())
        return {};
    const QSize size = picture.scaled(box.size(), Qt::KeepAspectRatio);
    return QRect(box.x() + (box.width() - size.width()) / 2,
                 box.y() + (box.height() - size.height()) / 2, size.width(), size.height());
}

} // namespace

void TXCheckThumbGrid::paintEvent(QPaintEvent* e) {
    QPainter p(viewport());
    p.fillRect(e->rect(), palette().color(QPalette::Window));
    if (m_layingOut || !m_list)
        return;
    ++m_paintGeneration;
    const int first = topRow() * m_columns;
    const int rowsShown = viewport()->height() / m_geometry.rowHeight() + 1;
    const int last = std::min(itemCount(), first + rowsShown * m_columns);
    for (int index = first; index < last; ++index) {
        const QRect cell = cellRect(index);
        if (cell.intersects(e->rect()))
            drawCell(p, index, cell);
    }
}

void TXCheckThumbGrid::drawCell(QPainter& p, int index, const QRect& cell) {
    const QString item = m_list->item(index);
    const bool checked = TCheckList::isCheckedItem(item);
    const QString path = TCheckList::pathOf(item);
    const QRect inner = cell.adjusted(2, 2, -2, -2);
    const bool current = m_highlightCurrent && index == m_current;
    if (!path.isEmpty()) {
        p.fillRect(inner, current ? m_colorSelected : m_colorUnselected);
        const QImage& background = current ? m_bgSelected : m_bgUnselected;
        if (!background.isNull())
            p.drawImage(inner, background);
    }
    const bool highlighted = m_highlighted.size() > size_t(index) && m_highlighted[size_t(index)];
    if (((m_multipleSelect && highlighted) || m_geometry.displayType == tdtIconInfo ||
         m_alwaysBorder) &&
        !current) {
        const QRect r = inner.adjusted(0, 0, -1, -1);
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    } else if (m_alwaysBorder && current) {
        p.setPen(QPen(Qt::yellow, 1, Qt::DotLine));
        p.drawRect(inner.adjusted(0, 0, -1, -1));
    }
    if (path.isEmpty())
        return;
    drawCaption(p, path, inner);
    if (m_geometry.displayType != tdtFilename)
        drawThumbnail(p, path, cell, current);
    drawCheckBox(p, cell, checked, current);
}

void TXCheckThumbGrid::drawCaption(QPainter& p, const QString& path, const QRect& inner) {
    const QString name = m_hideExtensions ? FileNameWithoutExt(QFileInfo(path).fileName())
                                          : QFileInfo(path).fileName();
    const QFontMetrics metrics(font());
    const int available =
        m_geometry.displayType == tdtIconInfo ? m_geometry.filenameTextWidth : inner.width() - 27;
    const QString caption = FitCaption(metrics, name, available);
    const int textWidth = metrics.horizontalAdvance(caption);
    const int free = std::max(0, available - textWidth);
    p.setPen(palette().color(QPalette::Text));
    switch (m_geometry.displayType) {
    case tdtFilename:
        p.drawText(inner.left(), inner.top() + metrics.ascent(), caption);
        break;
    case tdtIconInfo: {
        const int x = inner.left() + m_geometry.thumbnailWidth / 2 + 10;
        p.drawText(x, inner.center().y() + metrics.ascent() / 2, caption);
        break;
    }
    case tdtLargeIcon: {
        const int shift = m_centerText ? free / 2 : 0;
        const int x =
            m_checkBoxRight ? inner.left() + 6 + shift : inner.right() + 1 - 6 - textWidth - shift;
        p.drawText(x, inner.bottom() + 1 - 6 - metrics.descent(), caption);
        break;
    }
    }
}

const QImage& TXCheckThumbGrid::errorPicture(bool current) {
    if (!current || m_thumbError.isNull())
        return m_thumbError;
    if (m_thumbErrorCurrent.isNull() || m_thumbErrorCurrentColor != m_colorSelected) {
        m_thumbErrorCurrent = m_thumbError.convertToFormat(QImage::Format_RGB32);
        for (QPoint at :
             {QPoint(1, 1), QPoint(35, 30), QPoint(58, 32), QPoint(31, 49), QPoint(58, 49)})
            floodFill(m_thumbErrorCurrent, at, m_colorSelected);
        m_thumbErrorCurrentColor = m_colorSelected;
    }
    return m_thumbErrorCurrent;
}

void TXCheckThumbGrid::drawThumbnail(QPainter& p, const QString& path, const QRect& cell,
                                     bool current) {
    const bool half = m_geometry.displayType == tdtIconInfo;
    const QRect box(cell.left() + 8, cell.top() + 8,
                    half ? m_geometry.thumbnailWidth / 2 : m_geometry.thumbnailWidth,
                    half ? m_geometry.thumbnailHeight / 2 : m_geometry.thumbnailHeight);
    const ThumbProvider::Result r = m_provider.thumbnailFor(path, m_paintGeneration);
    switch (r.state) {
    case ThumbProvider::State::Ready: {
        const QRect target = fittedInto(r.image.size(), box);
        if (!half && target.size() == r.image.size())
            p.drawImage(target.topLeft(), r.image);
        else
            p.drawImage(target, r.image);
        break;
    }
    case ThumbProvider::State::Pending: {
        // On its way from the decode pool: a quiet frame holds the place.
        const QColor frame = current ? m_colorSelected.darker(115) : QColor(0xe4, 0xe4, 0xe4);
        p.fillRect(box.adjusted(4, 4, -4, -4), frame);
        break;
    }
    case ThumbProvider::State::Failed: {
        const QImage& error = errorPicture(current);
        if (!error.isNull())
            p.drawImage(fittedInto(error.size(), box), error);
        break;
    }
    }
}

void TXCheckThumbGrid::drawCheckBox(QPainter& p, const QRect& cell, bool checked, bool current) {
    const QRect box = m_geometry.checkBox(cell.topLeft(), m_checkBoxRight);
    p.fillRect(box, current ? m_colorSelected : m_colorUnselected);
    const QImage& on = current ? m_checkedSel : m_checkedUnsel;
    const QImage& off = current ? m_uncheckedSel : m_uncheckedUnsel;
    if (on.isNull() || off.isNull())
        return;
    p.drawImage(box.topLeft(), checked ? on : off);
}

} // namespace korvex
