#include "TdlgInput.h"

#include "FormScale.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace korvex {

namespace {

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TdlgInput::TdlgInput(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Input"));
    setFixedSize(328, 139);
    applyDialogLook(this);

    m_frame = new QFrame(this);
    m_frame->setGeometry(8, 8, 312, 88);
    m_frame->setFrameShape(QFrame::StyledPanel);
    QPalette grey = m_frame->palette();
    grey.setColor(QPalette::Window, QColor(236, 236, 236));
    m_frame->setPalette(grey);
    m_frame->setAutoFillBackground(true);

    m_message = new QLabel(m_frame);
    m_message->setGeometry(15, 6, 281, 40);
    m_message->setWordWrap(true);

    m_value = new QLineEdit(m_frame);
    m_value->setGeometry(15, 52, 278, 24);
    m_value->installEventFilter(this);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setGeometry(164, 106, 75, 25);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setGeometry(245, 106, 75, 25);
    // Enter and Escape are handled on release in the field, not by a default button.
    m_ok->setAutoDefault(false);
    m_cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    ScaleFormFonts(this);
}

bool TdlgInput::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_value &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = isEnter(key->key());
        const bool escape = key->key() == Qt::Key_Escape;
        if (enter || escape) {
            if (event->type() == QEvent::KeyRelease && !key->isAutoRepeat()) {
                if (enter)
                    accept();
                else
                    reject();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TdlgInput::showEvent(QShowEvent* event) {
    centreOnScreen(this);
    QDialog::showEvent(event);
    FocusIfPossible(m_value);
}

bool XInputDialog(const QString& caption, const QString& prompt, QString& value, QWidget* parent) {
    TdlgInput dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.lblmessage()->setText(prompt);
    dialog.edtvalue()->setText(value);
    dialog.edtvalue()->selectAll();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.edtvalue()->text();
    return true;
}

} // namespace korvex
