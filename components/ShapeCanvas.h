#pragma once

// The drawing surface of the shape control: a QPainter with the state the shapes are written
// against (a current pen, brush and font that each primitive picks up) and primitives that take
// rectangles as left, top, right, bottom with the right and bottom edges outside, as the shapes'
// coordinates are given. Figures are drawn without antialiasing so that their pixels are exact;
// text is antialiased.

#include "TColor.h"

#include <QFont>
#include <QPoint>
#include <QString>
#include <span>

class QPainter;
class QPixmap;

namespace vardo {

// A rectangle with the right and bottom edges outside.
struct TRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    TRect Inflated(int by) const { return {left - by, top - by, right + by, bottom + by}; }
};

// A font with its colour, which QFont does not carry.
struct TextFont {
    QFont font;
    TColor color = clBlack;

    int Size() const { return font.pointSize(); }
    // Sizes below 1 point do not exist; they stay at 1.
    void SetSize(int points);
};

class ShapeCanvas {
  public:
    explicit ShapeCanvas(QPainter& painter);

    // The current pen and brush; every primitive uses them as they stand when it is called.
    int penWidth = 1;
    TColor penColor = clBlack;
    Qt::PenStyle penStyle = Qt::SolidLine;
    TColor brushColor = clWhite;
    bool brushClear = false;
    TextFont font;

    void SetPen(int width, TColor color, Qt::PenStyle style);
    // Setting a brush colour also makes a clear brush solid.
    void SetBrushColor(TColor color);

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Line(int x1, int y1, int x2, int y2);
    void Polyline(std::span<const QPoint> points);
    // A closed polygon, filled with the brush and outlined with the pen.
    void Polygon(std::span<const QPoint> points);
    // Outlined with the pen, filled with the brush unless it is clear.
    void Rectangle(const TRect& rect);
    void Ellipse(const TRect& rect);
    // The arc of the ellipse in `rect` from `startDegrees` (0 at 3 o'clock, counter-clockwise)
    // over `spanDegrees`, with the pen only.
    void Arc(const TRect& rect, double startDegrees, double spanDegrees);
    // Filled with the brush colour, no outline.
    void FillRect(const TRect& rect);
    // Lines of `width` pixels along the edges: top and left in one colour, bottom and right in
    // the other; `rect` shrinks by the width.
    void Frame3D(TRect& rect, TColor topLeft, TColor bottomRight, int width);
    void StretchDraw(const TRect& rect, const QPixmap& picture);

    // Text with the top-left corner of its cell at (x, y), in the font's colour, no background.
    void TextOut(int x, int y, const QString& text);
    // Text turned about (x, y) by `tenthsOfDegree`, counter-clockwise.
    void RotatedTextOut(int x, int y, int tenthsOfDegree, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;

  private:
    void ApplyPen();
    void ApplyBrush();
    void ApplyNoBrush();

    QPainter& painter_;
    QPoint penPosition_;
};

}  // namespace vardo
