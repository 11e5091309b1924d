#pragma once

#include <QWidget>

class QAction;
class QToolButton;

namespace korvex {

// The edit bar at the right of the tool bar: Apply and Cancel for crop and red-eye, and the three
// undo buttons ("Undo Red Eye", "Undo Crop", "Undo QuickFix") placed exactly over Apply, since at
// most one of them shows at a time. On a narrow tool bar Apply and Cancel stack.
class EditBar : public QWidget {
    Q_OBJECT
public:
    EditBar(QAction* apply, QAction* cancel, QAction* undoRedEye, QAction* undoCrop,
            QAction* undoQuickFix, QWidget* parent = nullptr);

    static bool stackFor(int toolbarWidth) { return toolbarWidth <= 550; }
    void setStacked(bool stacked);
    bool stacked() const { return m_stacked; }

    QToolButton* applyButton() const { return m_apply; }
    QToolButton* cancelButton() const { return m_cancel; }
    QList<QToolButton*> undoButtons() const { return m_undo; }

private:
    QToolButton* m_apply;
    QToolButton* m_cancel;
    QList<QToolButton*> m_undo;
    bool m_stacked = false;
};

} // namespace korvex
