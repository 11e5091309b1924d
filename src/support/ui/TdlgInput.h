#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace korvex {

// A one-line text question. In the field, releasing Enter accepts and releasing Escape cancels
// (the presses are swallowed so that a key held from an earlier window does nothing here).
class TdlgInput : public QDialog {
    Q_OBJECT
public:
    explicit TdlgInput(QWidget* parent = nullptr);

    QLabel* lblmessage() const { return m_message; }
    QLineEdit* edtvalue() const { return m_value; }
    QPushButton* btnOK1() const { return m_ok; }
    QPushButton* btnCancel() const { return m_cancel; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QFrame* m_frame;
    QLabel* m_message;
    QLineEdit* m_value;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

// Asks for a text: true with value set to the field on OK, false with value untouched on Cancel.
bool XInputDialog(const QString& caption, const QString& prompt, QString& value,
                  QWidget* parent = nullptr);

} // namespace korvex
