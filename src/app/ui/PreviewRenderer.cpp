#include "PreviewRenderer.h"

#include "platform/ForeignWindow.h"

#include <QGuiApplication>
#include <QPainter>

namespace korvex {

PreviewRenderer::PreviewRenderer(WId host, QString logoFile, QString productName)
    : m_hostId(host), m_sprinkle(QSize(1, 1), std::move(logoFile), std::move(productName)) {
    m_host = QWindow::fromWinId(host);
    setParent(m_host);
    m_timer.setInterval(1);
    connect(&m_timer, &QTimer::timeout, this, &PreviewRenderer::tick);
    m_timer.start();
}

int PreviewRenderer::run(WId host, const QString& logoFile, const QString& productName) {
    if (!foreignwindow::query(host))
        return 0;
    PreviewRenderer renderer(host, logoFile, productName);
    return QGuiApplication::exec();
}

void PreviewRenderer::tick() {
    const auto state = foreignwindow::query(m_hostId);
    // The host closed its window, or hid it after showing it: the preview is over.
    if (!state || (m_seenVisible && !state->viewable)) {
        m_timer.stop();
        QGuiApplication::quit();
        return;
    }
    if (!state->viewable)
        return;
    if (!m_seenVisible) {
        m_seenVisible = true;
        show();
    }
    if (size() != state->size)
        setGeometry(QRect(QPoint(0, 0), state->size));
    m_sprinkle.resize(state->size);
    m_sprinkle.step();
    update();
}

void PreviewRenderer::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, m_sprinkle.image());
}

} // namespace korvex
