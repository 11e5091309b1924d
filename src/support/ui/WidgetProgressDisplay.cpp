#include "WidgetProgressDisplay.h"

#include "TdlgProgress.h"

#include <QProgressBar>

namespace korvex {

WidgetProgressDisplay::WidgetProgressDisplay(QProgressBar* statusGauge, Prompter* prompter)
    : m_statusGauge(statusGauge), m_prompter(prompter) {}

WidgetProgressDisplay::~WidgetProgressDisplay() = default;

void WidgetProgressDisplay::setStatusGauge(int percent, bool visible) {
    if (!m_statusGauge)
        return;
    m_statusGauge->setValue(percent);
    m_statusGauge->setVisible(visible);
}

void WidgetProgressDisplay::openProgressWindow() {
    m_window = std::make_unique<TdlgProgress>(m_prompter);
    m_window->show();
}

void WidgetProgressDisplay::closeProgressWindow() {
    m_window.reset();
}

void WidgetProgressDisplay::setProgressMessage(const QString& message) {
    if (m_window)
        m_window->setMessage(message);
}

void WidgetProgressDisplay::setProgressCaption(const QString& caption) {
    if (m_window)
        m_window->setWindowTitle(caption);
}

void WidgetProgressDisplay::setProgressPercent(int percent) {
    if (m_window)
        m_window->setPercent(percent);
}

void WidgetProgressDisplay::repaintProgressWindow() {
    if (m_window && m_window->isVisible())
        m_window->repaint();
}

} // namespace korvex
