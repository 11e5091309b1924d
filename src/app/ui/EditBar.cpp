#include "EditBar.h"

#include <QAction>
#include <QToolButton>

namespace korvex {

namespace {

QToolButton* barButton(QAction* action, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setDefaultAction(action);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setFixedSize(96, 23);
    return b;
}

} // namespace

EditBar::EditBar(QAction* apply, QAction* cancel, QAction* undoRedEye, QAction* undoCrop,
                 QAction* undoQuickFix, QWidget* parent)
    : QWidget(parent), m_apply(barButton(apply, this)), m_cancel(barButton(cancel, this)) {
    for (QAction* undo : {undoRedEye, undoCrop, undoQuickFix}) {
        QToolButton* b = barButton(undo, this);
        b->hide();
        m_undo << b;
    }
    setStacked(false);
}

void EditBar::setStacked(bool stacked) {
    m_stacked = stacked;
    const int w = m_apply->width();
    if (stacked) {
        m_apply->move(0, 7);
        m_cancel->move(0, 32);
        setFixedSize(w, 32 + m_cancel->height());
    } else {
        m_apply->move(0, 7);
        m_cancel->move(w + 4, 7);
        setFixedSize(2 * w + 4, 7 + m_apply->height());
    }
    for (QToolButton* b : std::as_const(m_undo))
        b->setGeometry(m_apply->geometry());
}

} // namespace korvex
