#pragma once

// The few line primitives of the form toolkit's canvas that the components draw with, with the
// toolkit's pixel rules: a line never includes its end point, a rectangle (left, top, right,
// bottom) covers the columns left..right-1 and the rows top..bottom-1.

#include <QColor>
#include <QRect>

class QPainter;

// A horizontal or vertical 1-pixel line from (x1, y1) towards (x2, y2), end point excluded.
void CanvasLine(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& color);

// The 1-pixel outline of the rectangle (left, top, right, bottom) with a clear brush.
void OutlineRect(QPainter& painter, int left, int top, int right, int bottom, const QColor& color);

// The toolkit's 3D frame: width rings inward from rect, each with its top and left edges in top
// and its right and bottom edges in bottom (which also takes the top-right and bottom-left
// corner pixels). rect shrinks by width on every side.
void Frame3D(QPainter& painter, QRect& rect, const QColor& top, const QColor& bottom, int width);
