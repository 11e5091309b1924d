#pragma once

#include <QDialog>
#include <QWidget>

namespace korvex {

struct AppContext;

// The screen-saver settings dialog. Collections and their settings arrive with the screen-saver
// work; until then the dialog says so instead of offering controls that do nothing.
class TdlgEditSS : public QDialog {
    Q_OBJECT
public:
    TdlgEditSS(AppContext& context, bool settingsPage, QWidget* parent = nullptr);
};

// The full-screen screen-saver player: black, with the product logo, ending on any key or mouse
// movement, as a screen saver must.
class TfrmScreenSaver : public QWidget {
    Q_OBJECT
public:
    explicit TfrmScreenSaver(AppContext& context, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;

private:
    QPixmap m_logo;
    QPoint m_firstMouse{-1, -1};
};

} // namespace korvex
