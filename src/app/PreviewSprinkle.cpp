#include "PreviewSprinkle.h"

#include <QPainter>
#include <algorithm>

namespace korvex {

PreviewSprinkle::PreviewSprinkle(QSize size, QString logoFile, QString productName)
    : m_logoFile(std::move(logoFile)), m_productName(std::move(productName)) {
    resize(size);
}

void PreviewSprinkle::resize(QSize size) {
    const QSize bitmap(std::max(1, size.width() + 1), std::max(1, size.height() + 1));
    if (m_image.size() == bitmap)
        return;
    m_image = QImage(bitmap, QImage::Format_RGB32);
    m_counter = 10'000'000;
}

void PreviewSprinkle::drawLogo() {
    QImage logo;
    if (!m_logoFile.isEmpty())
        logo.load(m_logoFile);
    QPainter p(&m_image);
    if (!logo.isNull()) {
        p.fillRect(m_image.rect(), Qt::black);
        p.drawImage(0, 0, logo);
        return;
    }
    p.fillRect(m_image.rect(), Qt::white);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(20);
    p.setFont(font);
    p.setPen(Qt::red);
    p.drawText(QPoint(15, 30 + p.fontMetrics().ascent()), m_productName);
}

void PreviewSprinkle::step() {
    if (m_counter > 3000) {
        m_counter = 0;
        drawLogo();
    }
    ++m_counter;
    const int n = std::min(1, m_counter / 1000) + m_counter / 100;
    m_lastCount = n;
    const int w = m_image.width();
    const int h = m_image.height();
    for (int i = 0; i < n; ++i)
        m_image.setPixel(m_random.bounded(w), m_random.bounded(h), qRgb(0, 0, 0));
}

} // namespace korvex
