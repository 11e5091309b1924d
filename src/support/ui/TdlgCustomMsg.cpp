#include "TdlgCustomMsg.h"

#include "FormScale.h"

#include <QLabel>
#include <QPushButton>

namespace korvex {

namespace {

QPushButton* makeButton(const QString& text, int x, int y, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setGeometry(x, y, 75, 25);
    return button;
}

} // namespace

TdlgCustomMsg::TdlgCustomMsg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Information"));
    setFixedSize(364, 105);
    applyDialogLook(this);

    m_label = new QLabel(this);
    m_label->setGeometry(9, 4, 345, 61);
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignCenter);

    m_ok1 = makeButton(QStringLiteral("OK"), (364 - 75) / 2, 72, this);
    m_ok2 = makeButton(QStringLiteral("OK"), 364 / 2 - 80, 72, this);
    m_cancel2 = makeButton(QStringLiteral("Cancel"), 364 / 2 + 5, 72, this);
    m_ok2->hide();
    m_cancel2->hide();
    m_ok1->setDefault(true);

    connect(m_ok1, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ok2, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel2, &QPushButton::clicked, this, &QDialog::reject);

    ScaleFormFonts(this);
}

void TdlgCustomMsg::showConfirmButtons() {
    m_ok1->hide();
    m_ok1->setDefault(false);
    m_ok2->show();
    m_cancel2->show();
    m_ok2->setDefault(true);
}

void TdlgCustomMsg::showEvent(QShowEvent* event) {
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void ShowCustomMessage(const QString& text, QWidget* parent) {
    TdlgCustomMsg dialog(parent);
    dialog.Label1()->setText(text);
    dialog.exec();
}

int ShowCustomConfirmDialog(const QString& caption, const QString& text, QWidget* parent) {
    TdlgCustomMsg dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.Label1()->setText(text);
    dialog.showConfirmButtons();
    return dialog.exec() == QDialog::Accepted ? CustomOK : CustomCancel;
}

} // namespace korvex
