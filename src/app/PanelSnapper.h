#pragma once

namespace korvex {

// Snaps the thumbnail panel to whole columns of 106-pixel cells when the user drags the splitter.
class PanelSnapper {
public:
    explicit PanelSnapper(int scrollBarExtent) : m_scrollBar(scrollBarExtent) {}

    static int gridWidth(int columns, int scrollBarExtent) {
        return scrollBarExtent + 106 * columns + 35;
    }
    int gridWidth(int columns) const { return gridWidth(columns, m_scrollBar); }

    // The reference is the width the panel had at start-up or at the last window resize.
    void setReference(int width) { m_reference = width; }
    int reference() const { return m_reference; }
    void setColumns(int columns) { m_lastColumns = columns; }
    int columns() const { return m_lastColumns; }

    // The width the panel snaps to after the user left it at panelWidth. mainPanelWidth is the
    // width of the panel holding both sides; clientWidth that of the window's client area.
    int snap(int panelWidth, int mainPanelWidth, int clientWidth);

    // The splitter's double-click: between two columns and the preferred wide count.
    int toggle(int mainPanelWidth, int clientWidth);

private:
    int target(int columns, int mainPanelWidth, int clientWidth);

    int m_scrollBar;
    int m_reference = 0;
    int m_lastColumns = 2;
    int m_preferredWide = 4;
};

} // namespace korvex
