#include "PanelSnapper.h"

#include <algorithm>

namespace korvex {

int PanelSnapper::snap(int panelWidth, int mainPanelWidth, int clientWidth) {
    int columns = (panelWidth - m_scrollBar + 18) / 106;
    if (columns == m_lastColumns) {
        // Moved by less than a column: the direction of the drag decides.
        if (panelWidth > m_reference)
            ++columns;
        else if (panelWidth < m_reference)
            --columns;
    }
    columns = std::max(columns, 1);
    return target(columns, mainPanelWidth, clientWidth);
}

int PanelSnapper::toggle(int mainPanelWidth, int clientWidth) {
    const int wide = m_preferredWide <= 2 ? 4 : m_preferredWide;
    return target(m_lastColumns == 2 ? wide : 2, mainPanelWidth, clientWidth);
}

int PanelSnapper::target(int columns, int mainPanelWidth, int clientWidth) {
    m_lastColumns = columns;
    if (columns != 2)
        m_preferredWide = columns;
    int width = gridWidth(columns);
    if (mainPanelWidth < width || clientWidth - width < 53)
        width = mainPanelWidth;
    // The snapped width is the new starting point; without this the next small drag would be
    // measured against the start-up width and jump a column too far.
    m_reference = width;
    return width;
}

} // namespace korvex
