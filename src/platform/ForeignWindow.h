#pragma once

#include <QRect>
#include <QWindow>
#include <optional>

namespace korvex {

// Facts about an X11 window that another program owns (the screen-saver host's preview window).
// Qt reports 0 x 0 for a foreign window, so the geometry is read from the X server itself.
namespace foreignwindow {

// The window's size and whether it is mapped; nullopt once the window is gone or without X11.
struct State {
    QSize size;
    bool viewable = false;
};
std::optional<State> query(WId window);

// Parses a window id given in decimal or as "0x..." hexadecimal; 0 when it is not a number.
WId parseId(const QString& text);

} // namespace foreignwindow
} // namespace korvex
