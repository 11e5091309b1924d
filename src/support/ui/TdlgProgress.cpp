#include "TdlgProgress.h"

#include "DialogPrompter.h"
#include "FormScale.h"
#include "ProgressGauge.h"
#include "support/DebugLog.h"
#include "support/Progress.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>

namespace korvex {

TdlgProgress::TdlgProgress(Prompter* prompter)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_prompter(prompter) {
    if (!m_prompter) {
        m_ownPrompter = std::make_unique<DialogPrompter>(this);
        m_prompter = m_ownPrompter.get();
    }
    setWindowTitle(QStringLiteral("Dialog"));
    setFixedSize(267, 101);
    applyDialogLook(this);

    m_message = new QLabel(this);
    m_message->setGeometry(9, 6, 249, 30);
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_picture = new QLabel(this);
    m_picture->setGeometry(9, 48, 40, 40);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setPixmap(QApplication::windowIcon().pixmap(32, 32));

    m_progress = new QLabel(QStringLiteral("0%"), this);
    m_progress->setGeometry(66, 52, 179, 18);
    m_progress->setAlignment(Qt::AlignCenter);
    QFont bold = m_progress->font();
    bold.setBold(true);
    m_progress->setFont(bold);

    m_gauge = new ProgressGauge(this);
    m_gauge->setGeometry(66, 74, 179, 6);

    ScaleFormFonts(this);
}

TdlgProgress::~TdlgProgress() = default;

void TdlgProgress::setMessage(const QString& message) {
    m_message->setText(message);
}

void TdlgProgress::setPercent(int percent) {
    m_gauge->setValue(percent);
    m_progress->setText(QString::number(m_gauge->value()) + u'%');
}

bool TdlgProgress::confirmCancel() {
    if (!m_prompter->ask(MessageKind::Confirmation,
                         QStringLiteral("Are you sure you want to cancel processing?"),
                         AskButtons::YesNo))
        return false;
    ProgressCancelled = true;
    DebugLog(QStringLiteral("dlgProgress"), QStringLiteral("Progress cancelled"));
    return true;
}

void TdlgProgress::closeEvent(QCloseEvent* event) {
    if (confirmCancel())
        event->accept();
    else
        event->ignore();
}

// Escape takes the same way as the close box.
void TdlgProgress::reject() {
    if (confirmCancel())
        QDialog::reject();
}

void TdlgProgress::showEvent(QShowEvent* event) {
    centreOnScreen(this);
    QDialog::showEvent(event);
}

} // namespace korvex
