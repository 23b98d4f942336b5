#include "ShapeCanvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

namespace vardo {

namespace {

// The figure a Qt rectangle primitive outlines for a rectangle whose right and bottom edges lie
// outside: the outline runs through the last pixel row and column inside.
QRect OutlineRect(const TRect& rect) {
    return QRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1);
}

}  // namespace

void TextFont::SetSize(int points) {
    font.setPointSize(std::max(points, 1));
}

ShapeCanvas::ShapeCanvas(QPainter& painter) : painter_(painter) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setBackgroundMode(Qt::TransparentMode);
}

void ShapeCanvas::SetPen(int width, TColor color, Qt::PenStyle style) {
    penWidth = width;
    penColor = color;
    penStyle = style;
}

void ShapeCanvas::SetBrushColor(TColor color) {
    brushColor = color;
    brushClear = false;
}

void ShapeCanvas::ApplyPen() {
    // Widths of 0 and 1 are the thinnest line: a cosmetic pen, which sets exactly the pixels
    // its points name, end points included. Wider pens have round ends and joins.
    if (penWidth <= 1) {
        painter_.setPen(QPen(ColorToQColor(penColor), 0, penStyle, Qt::SquareCap, Qt::MiterJoin));
    } else {
        painter_.setPen(
            QPen(ColorToQColor(penColor), penWidth, penStyle, Qt::RoundCap, Qt::RoundJoin));
    }
}

void ShapeCanvas::ApplyBrush() {
    if (brushClear) {
        painter_.setBrush(Qt::NoBrush);
    } else {
        painter_.setBrush(ColorToQColor(brushColor));
    }
}

void ShapeCanvas::ApplyNoBrush() {
    painter_.setBrush(Qt::NoBrush);
}

void ShapeCanvas::MoveTo(int x, int y) {
    penPosition_ = QPoint(x, y);
}

void ShapeCanvas::LineTo(int x, int y) {
    ApplyPen();
    painter_.drawLine(penPosition_, QPoint(x, y));
    penPosition_ = QPoint(x, y);
}

void ShapeCanvas::Line(int x1, int y1, int x2, int y2) {
    MoveTo(x1, y1);
    LineTo(x2, y2);
}

void ShapeCanvas::Polyline(std::span<const QPoint> points) {
    ApplyPen();
    painter_.drawPolyline(points.data(), static_cast<int>(points.size()));
    if (!points.empty()) penPosition_ = points.back();
}

void ShapeCanvas::Polygon(std::span<const QPoint> points) {
    ApplyPen();
    ApplyBrush();
    painter_.drawPolygon(points.data(), static_cast<int>(points.size()));
}

void ShapeCanvas::Rectangle(const TRect& rect) {
    ApplyPen();
    ApplyBrush();
    painter_.drawRect(OutlineRect(rect));
}

void ShapeCanvas::Ellipse(const TRect& rect) {
    ApplyPen();
    ApplyBrush();
    painter_.drawEllipse(OutlineRect(rect));
}

void ShapeCanvas::Arc(const TRect& rect, double startDegrees, double spanDegrees) {
    ApplyPen();
    ApplyNoBrush();
    // Qt measures arcs in sixteenths of a degree.
    painter_.drawArc(OutlineRect(rect), static_cast<int>(startDegrees * 16),
                     static_cast<int>(spanDegrees * 16));
}

void ShapeCanvas::FillRect(const TRect& rect) {
    painter_.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()),
                      ColorToQColor(brushColor));
}

void ShapeCanvas::Frame3D(TRect& rect, TColor topLeft, TColor bottomRight, int width) {
    const QColor light = ColorToQColor(topLeft);
    const QColor dark = ColorToQColor(bottomRight);
    for (int i = 0; i < width; ++i) {
        const int right = rect.right - 1;
        const int bottom = rect.bottom - 1;
        painter_.fillRect(QRect(rect.left, rect.top, rect.Width(), 1), light);
        painter_.fillRect(QRect(rect.left, rect.top, 1, rect.Height()), light);
        painter_.fillRect(QRect(right, rect.top, 1, rect.Height()), dark);
        painter_.fillRect(QRect(rect.left, bottom, rect.Width(), 1), dark);
        rect = rect.Inflated(-1);
    }
}

void ShapeCanvas::StretchDraw(const TRect& rect, const QPixmap& picture) {
    painter_.drawPixmap(QRect(rect.left, rect.top, rect.Width(), rect.Height()), picture);
}

void ShapeCanvas::TextOut(int x, int y, const QString& text) {
    painter_.setFont(font.font);
    painter_.setPen(ColorToQColor(font.color));
    painter_.drawText(QPoint(x, y + QFontMetrics(font.font, painter_.device()).ascent()), text);
}

void ShapeCanvas::RotatedTextOut(int x, int y, int tenthsOfDegree, const QString& text) {
    painter_.save();
    painter_.translate(x, y);
    // Qt turns clockwise for positive angles on a y-down surface.
    painter_.rotate(-tenthsOfDegree / 10.0);
    TextOut(0, 0, text);
    painter_.restore();
}

int ShapeCanvas::TextWidth(const QString& text) const {
    return QFontMetrics(font.font, painter_.device()).horizontalAdvance(text);
}

// The height of the font's line: every text of one font is as high, whatever its characters.
int ShapeCanvas::TextHeight(const QString&) const {
    return QFontMetrics(font.font, painter_.device()).height();
}

}  // namespace vardo
