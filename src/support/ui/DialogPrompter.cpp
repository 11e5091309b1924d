#include "DialogPrompter.h"

#include <QApplication>
#include <QMessageBox>

namespace korvex {

namespace {

QMessageBox::Icon iconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void DialogPrompter::message(MessageKind kind, const QString& text) {
    QMessageBox box(iconOf(kind), QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    m_parent);
    box.exec();
}

bool DialogPrompter::ask(MessageKind kind, const QString& text, AskButtons buttons) {
    const auto yes = buttons == AskButtons::YesNo ? QMessageBox::Yes : QMessageBox::Ok;
    const auto no = buttons == AskButtons::YesNo ? QMessageBox::No : QMessageBox::Cancel;
    QMessageBox box(iconOf(kind), QApplication::applicationDisplayName(), text, yes | no, m_parent);
    box.setDefaultButton(yes);
    return box.exec() == yes;
}

} // namespace korvex
