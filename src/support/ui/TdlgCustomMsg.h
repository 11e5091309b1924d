#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace korvex {

// The program's own information box and OK/Cancel confirmation.
class TdlgCustomMsg : public QDialog {
    Q_OBJECT
public:
    explicit TdlgCustomMsg(QWidget* parent = nullptr);

    // Swaps the single centred OK for the OK / Cancel pair.
    void showConfirmButtons();

    QLabel* Label1() const { return m_label; }
    QPushButton* btnOK1() const { return m_ok1; }
    QPushButton* btnOK2() const { return m_ok2; }
    QPushButton* btnCancel2() const { return m_cancel2; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* m_label;
    QPushButton* m_ok1;
    QPushButton* m_ok2;
    QPushButton* m_cancel2;
};

// Shows text with one OK button and returns when the box is closed.
void ShowCustomMessage(const QString& text, QWidget* parent = nullptr);

enum CustomDialogResult { CustomOK = 1, CustomCancel = 2 };
// Asks with OK and Cancel: CustomOK for OK, CustomCancel for Cancel or the close box.
int ShowCustomConfirmDialog(const QString& caption, const QString& text, QWidget* parent = nullptr);

} // namespace korvex
