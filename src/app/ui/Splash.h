#pragma once

#include <QPixmap>
#include <QWidget>

namespace korvex {

// Borderless, always on top, centred: the start-up picture while the main window gets ready.
class TfrmSplash : public QWidget {
    Q_OBJECT
public:
    explicit TfrmSplash(const QString& splashFile);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap m_picture;
};

// A plain picture area: the shown picture scaled down to fit, centred on white.
class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);
    void setImage(const QImage& image);
    void clear() { setImage({}); }
    bool hasImage() const { return !m_image.isNull(); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage m_image;
};

} // namespace korvex
