#pragma once

#include <QImage>
#include <QRect>

namespace korvex {

enum class ResampleFilter {
    None,     // nearest pixel
    Linear,   // triangle filter, widened when shrinking so every source pixel counts
    Lanczos3, // windowed sinc over three lobes: the sharpest, for final output
};

// A separable resampler. Pictures with transparency are filtered premultiplied, greyscale ones
// stay greyscale, everything else comes back as RGB32. Returns a null image when out of memory.
QImage Resample(const QImage& source, int width, int height, ResampleFilter filter);

// Places a picture of the given size in an area, keeping its proportions. Returns the placed
// rectangle (its width and height are the picture's new size).
QRect FitRect(int pictureWidth, int pictureHeight, bool centerVertically, bool centerHorizontally,
              bool shrink, bool enlarge, int areaTop, int areaLeft, int areaHeight, int areaWidth);

} // namespace korvex
