#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QFontMetrics;

namespace korvex {

enum TThumbDisplayType { tdtLargeIcon = 0, tdtIconInfo = 1, tdtFilename = 2 };
// Where a click toggles a cell's check mark.
enum TThumbCheckingType { _Never = 0, _OnCheck = 1, _OnBottom = 2, _Anywhere = 3 };

// The cell layout of a check grid.
struct GridGeometry {
    int thumbnailWidth = 90;
    int thumbnailHeight = 75;
    TThumbDisplayType displayType = tdtLargeIcon;
    int filenameTextWidth = 70;
    int captionHeight = 11; // the font's point size at the screen's resolution

    int columnWidth() const;
    int rowHeight() const;
    int columnCount(int gridWidth) const;
    int rowCount(int itemCount, int columns) const;

    // The check box of a cell whose top-left corner is cellTopLeft (15 x 15).
    QRect checkBox(QPoint cellTopLeft, bool checkBoxRight) const;
    // Whether a press at point in cell toggles its check mark.
    bool isCheckClick(TThumbCheckingType type, bool checkBoxRight, const QRect& cell,
                      QPoint point) const;
};

// The pixel height of a caption: point size at the screen's resolution, rounded.
int CaptionTextHeight(qreal pointSize, qreal dotsPerInch);

// The cell a navigation key leads to from current, or -1 when it leads outside the pictures.
// visibleRows and visibleColumns describe the part of the grid on screen (for the page keys).
int KeyNavigateTarget(int key, int current, int count, int columns, int visibleRows,
                      int visibleColumns);
// Whether the grid moves its current cell for key.
bool IsNavigationKey(int key);

// A caption wider than width ends in ".." and loses characters before them until it fits,
// but keeps at least one character in front of them.
QString FitCaption(const QFontMetrics& metrics, const QString& caption, int width);
// Text as wide as width or wider loses characters from its end, then trailing blanks, and
// ends in "...".
QString MinimizeString(const QFontMetrics& metrics, const QString& text, int width);

} // namespace korvex
