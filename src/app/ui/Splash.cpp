#include "Splash.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace korvex {

TfrmSplash::TfrmSplash(const QString& splashFile)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    m_picture.load(splashFile);
    if (m_picture.isNull()) {
        m_picture = QPixmap(480, 300);
        m_picture.fill(Qt::white);
    }
    setFixedSize(m_picture.size());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    move(screen.center() - rect().center());
}

void TfrmSplash::paintEvent(QPaintEvent*) {
    QPainter(this).drawPixmap(0, 0, m_picture);
}

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setMinimumSize(50, 50);
}

void PictureView::setImage(const QImage& image) {
    m_image = image;
    update();
}

void PictureView::paintEvent(QPaintEvent*) {
    if (m_image.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QSize size = m_image.size();
    if (size.width() > width() || size.height() > height())
        size.scale(this->size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    p.drawImage(target, m_image);
}

} // namespace korvex
