#pragma once

#include <QImage>
#include <QRandomGenerator>

namespace korvex {

// The screen-saver preview picture: the logo, fading to black in a growing sprinkle of pixels
// and drawn fresh every 3001 steps.
class PreviewSprinkle {
public:
    // logoFile: a picture to show; when it cannot be read the product name is written instead.
    PreviewSprinkle(QSize size, QString logoFile, QString productName);

    void resize(QSize size);
    // One pass: redraw the logo when due, then blacken a growing number of random pixels.
    void step();

    const QImage& image() const { return m_image; }
    int lastSprinkleCount() const { return m_lastCount; }

private:
    void drawLogo();

    QImage m_image;
    QString m_logoFile;
    QString m_productName;
    int m_counter = 10'000'000; // so that the first pass draws the logo
    int m_lastCount = 0;
    QRandomGenerator m_random{QRandomGenerator::securelySeeded()};
};

} // namespace korvex
