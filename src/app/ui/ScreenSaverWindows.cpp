#include "ScreenSaverWindows.h"

#include "app/AppContext.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace korvex {

TdlgEditSS::TdlgEditSS(AppContext& context, bool settingsPage, QWidget* parent) : QDialog(parent) {
    setWindowTitle(context.names.product + QStringLiteral(" Screen Saver"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(settingsPage ? QStringLiteral("Screen saver settings")
                                         : QStringLiteral("Screen saver collections"),
                            this);
    QFont f = text->font();
    f.setBold(true);
    text->setFont(f);
    layout->addWidget(text);
    layout->addWidget(
        new QLabel(QStringLiteral("This version plays the pictures of your start-up folder.\n"
                                  "Collections of your own can be made in a later version."),
                   this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(this, &QDialog::finished, qApp, &QApplication::quit);
}

TfrmScreenSaver::TfrmScreenSaver(AppContext& context, QWidget* parent) : QWidget(parent) {
    setWindowTitle(context.names.product);
    m_logo.load(context.dataFile(QStringLiteral("SSLogo.xdl")));
    setCursor(Qt::BlankCursor);
    setMouseTracking(true);
}

void TfrmScreenSaver::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (!m_logo.isNull())
        p.drawPixmap((width() - m_logo.width()) / 2, (height() - m_logo.height()) / 2, m_logo);
}

void TfrmScreenSaver::keyPressEvent(QKeyEvent*) {
    QApplication::quit();
}

void TfrmScreenSaver::mousePressEvent(QMouseEvent*) {
    QApplication::quit();
}

void TfrmScreenSaver::mouseMoveEvent(QMouseEvent* event) {
    // The first move event only reports where the pointer already is.
    const QPoint at = event->position().toPoint();
    if (m_firstMouse == QPoint(-1, -1)) {
        m_firstMouse = at;
        return;
    }
    if ((at - m_firstMouse).manhattanLength() > 4)
        QApplication::quit();
}

} // namespace korvex
