#include "ProgressGauge.h"

#include <QPainter>

namespace korvex {

ProgressGauge::ProgressGauge(QWidget* parent) : QWidget(parent) {}

void ProgressGauge::setValue(int percent) {
    percent = qBound(0, percent, 100);
    if (percent == m_value)
        return;
    m_value = percent;
    update();
}

void ProgressGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(157, 157, 157));
    painter.fillRect(QRect(0, 0, width() * m_value / 100, height()), QColor(255, 211, 49));
}

} // namespace korvex
