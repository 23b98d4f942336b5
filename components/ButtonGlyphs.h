#pragma once

// The images a transparent button prepares from its glyph strip.

#include <QColor>
#include <QImage>
#include <QSize>

namespace vardo {

// The number of cells a glyph strip of this size holds: width / height when the width is an exact
// multiple of the height (a count above 4 means one cell), otherwise current.
int GlyphCellCount(QSize stripSize, int current);

// Every pixel becomes the grey level (11 * red + 59 * green + 30 * blue) / 100.
QImage GreyCopy(const QImage& image);

// The etched look of a disabled glyph on the button face: every pixel that is neither white nor
// the top-left pixel's colour becomes ink; the ink is drawn in highlight one pixel down and right,
// then in shadow in place.
QImage EtchedCopy(const QImage& image, const QColor& face, const QColor& highlight,
                  const QColor& shadow);

// image with the colour of its bottom-left pixel made transparent.
QImage MaskedByBottomLeft(const QImage& image);

}  // namespace vardo
