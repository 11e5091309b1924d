#pragma once

#include <QColor>
#include <QImage>

namespace korvex {

// The pictures the main window gives its check grid: 15 x 15 check boxes on a cell background
// and the picture shown where a thumbnail cannot be made.
QImage CheckBoxPicture(bool checked, const QColor& background);
QImage ThumbErrorPicture();

} // namespace korvex
