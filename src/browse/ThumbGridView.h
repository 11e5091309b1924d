#pragma once

namespace korvex {

// What folder and selection handling needs from the grid that shows the file list.
class ThumbGridView {
public:
    virtual ~ThumbGridView() = default;
    virtual void Reload(bool reset, bool selectFirst, bool uncheckAll) = 0;
    virtual int currentIndex() const = 0;
    virtual int HighlightedCount() const = 0;
    virtual void ClearHighlights() = 0;
    // Highlights index, makes it current and scrolls to it.
    virtual void SelectIndex(int index) = 0;
    virtual void setRepaintSuppressed(bool suppressed) = 0;
    virtual void repaintGrid() = 0;
    virtual void focusGrid() = 0;
};

} // namespace korvex
