#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

namespace korvex::test {

// Answers message boxes as they appear, so a test can drive code that asks or warns, and keeps
// their texts for the test to check.
class ModalWatcher : public QObject {
public:
    explicit ModalWatcher(QMessageBox::StandardButton answer = QMessageBox::Ok) : m_answer(answer) {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible())
                    continue;
                texts << box->text();
                QAbstractButton* b = box->button(m_answer);
                if (b)
                    b->click();
                else
                    box->done(m_answer);
            }
        });
        m_timer.start();
    }

    QStringList texts;

private:
    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
};

} // namespace korvex::test
