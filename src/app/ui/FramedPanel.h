#pragma once

#include <QPixmap>
#include <QWidget>
#include <array>

namespace korvex {

// A panel that frames its content with eight edge and corner pictures from the artwork folder,
// so every panel of the window has the same soft border.
class TXPanel : public QWidget {
    Q_OBJECT
public:
    // frameFolder holds topleft.png, top.png, ... bottomright.png; content fills the inside.
    TXPanel(const QString& frameFolder, QWidget* content, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    enum Piece { TopLeft, Top, TopRight, Left, Right, BottomLeft, Bottom, BottomRight };
    std::array<QPixmap, 8> m_pieces;
};

} // namespace korvex
