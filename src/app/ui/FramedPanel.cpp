#include "FramedPanel.h"

#include <QPainter>
#include <QVBoxLayout>

namespace korvex {

TXPanel::TXPanel(const QString& frameFolder, QWidget* content, QWidget* parent) : QWidget(parent) {
    static const char* names[] = {"topleft", "top",        "topright", "left",
                                  "right",   "bottomleft", "bottom",   "bottomright"};
    for (int i = 0; i < 8; ++i)
        m_pieces[i].load(frameFolder + QLatin1String(names[i]) + QStringLiteral(".png"));
    const int edge = m_pieces[TopLeft].isNull() ? 1 : m_pieces[TopLeft].width();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(edge, edge, edge, edge);
    layout->addWidget(content);
    content->setParent(this);
}

void TXPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, Qt::white);
    if (m_pieces[TopLeft].isNull()) {
        p.setPen(QColor(0xc9, 0xd2, 0xdc));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        return;
    }
    const int e = m_pieces[TopLeft].width();
    p.drawTiledPixmap(QRect(e, 0, r.width() - 2 * e, e), m_pieces[Top]);
    p.drawTiledPixmap(QRect(e, r.height() - e, r.width() - 2 * e, e), m_pieces[Bottom]);
    p.drawTiledPixmap(QRect(0, e, e, r.height() - 2 * e), m_pieces[Left]);
    p.drawTiledPixmap(QRect(r.width() - e, e, e, r.height() - 2 * e), m_pieces[Right]);
    p.drawPixmap(0, 0, m_pieces[TopLeft]);
    p.drawPixmap(r.width() - e, 0, m_pieces[TopRight]);
    p.drawPixmap(0, r.height() - e, m_pieces[BottomLeft]);
    p.drawPixmap(r.width() - e, r.height() - e, m_pieces[BottomRight]);
}

} // namespace korvex
