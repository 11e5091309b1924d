#include "AboutBox.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace korvex {

TdlgAboutBox::TdlgAboutBox(const QString& splashFile, const QString& productName, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("About ") + productName);
    QPixmap splash(splashFile);
    if (splash.isNull()) {
        // Without the artwork the box still says what it is.
        splash = QPixmap(480, 300);
        splash.fill(Qt::white);
    }
    auto* picture = new QLabel(this);
    picture->setPixmap(splash);
    picture->setGeometry(QRect(QPoint(0, 0), splash.size()));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->adjustSize();
    ok->move(splash.width() - ok->width() - 6, splash.height() - ok->height() - 6);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* version = new QLabel(QStringLiteral("Build ") + QStringLiteral(KORVEX_VERSION), this);
    version->adjustSize();
    version->move(8, splash.height() - version->height() - 10);
    setFixedSize(splash.size());
}

} // namespace korvex
