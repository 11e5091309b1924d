#pragma once

#include "app/PreviewSprinkle.h"

#include <QRasterWindow>
#include <QTimer>

namespace korvex {

// Draws the preview into a window that the screen-saver host owns, and ends the process once
// that window is gone.
class PreviewRenderer : public QRasterWindow {
    Q_OBJECT
public:
    PreviewRenderer(WId host, QString logoFile, QString productName);

    // Runs until the host window disappears; returns the process exit code.
    static int run(WId host, const QString& logoFile, const QString& productName);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void tick();

    WId m_hostId;
    QWindow* m_host = nullptr;
    PreviewSprinkle m_sprinkle;
    QTimer m_timer;
    bool m_seenVisible = false;
};

} // namespace korvex
