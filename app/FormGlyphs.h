#pragma once

#include <QColor>
#include <QImage>

namespace vardo {

// The glyphs of the main window's buttons, drawn here rather than loaded from image files. Each
// is drawn on the colour of the panel it sits on, which is also its transparent colour (the
// bottom-left pixel), so its smoothed edges blend into that panel.

// Two 16 x 16 cells: a green play triangle, then the same in grey for the disabled button.
QImage PlayGlyph(const QColor& panel);
// Two 16 x 16 cells: a red stop square, then the same in grey.
QImage StopGlyph(const QColor& panel);
// One 28 x 28 cell: a gear wheel.
QImage SetupGlyph(const QColor& panel);
// One 28 x 28 cell: a power switch sign.
QImage ExitGlyph(const QColor& panel);

}  // namespace vardo
