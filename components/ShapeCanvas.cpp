#include "ShapeCanvas.h"

#include <QFontMetrics>
#include <QImage>
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
    // its points name, end points included. Wider pens have square ends, which Qt draws at a
    // fraction of the cost of round ones.
    if (penWidth <= 1) {
        painter_.setPen(QPen(ColorToQColor(penColor), 0, penStyle, Qt::SquareCap, Qt::MiterJoin));
    } else {
        painter_.setPen(
            QPen(ColorToQColor(penColor), penWidth, penStyle, Qt::SquareCap, Qt::MiterJoin));
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

// The stripes are put together in an image and copied in one go: far cheaper than one fill per
// stripe, most of all for vertical stripes.
void ShapeCanvas::FillStripes(const TRect& rect, std::span<const TColor> colors,
                              Qt::Orientation orientation) {
    const bool vertical = orientation == Qt::Vertical;
    const int count = static_cast<int>(colors.size());
    const int width = vertical ? count : rect.Width();
    const int height = vertical ? rect.Height() : count;
    if (width <= 0 || height <= 0) return;
    std::vector<QRgb> rgb(colors.size());
    std::transform(colors.begin(), colors.end(), rgb.begin(),
                   [](TColor color) { return ColorToQColor(color).rgb(); });
    QImage stripes(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(stripes.scanLine(y));
        if (vertical) {
            std::copy(rgb.begin(), rgb.end(), line);
        } else {
            std::fill(line, line + width, rgb[y]);
        }
    }
    painter_.drawImage(QPoint(rect.left, rect.top), stripes);
}

void ShapeCanvas::TextOut(int x, int y, const QString& text) {
    painter_.setFont(font.font);
    painter_.setPen(ColorToQColor(font.color));
    painter_.drawText(QPoint(x, y + Metrics().ascent()), text);
}

void ShapeCanvas::RotatedTextOut(int x, int y, int tenthsOfDegree, const QString& text) {
    painter_.save();
    painter_.translate(x, y);
    // Qt turns clockwise for positive angles on a y-down surface.
    painter_.rotate(-tenthsOfDegree / 10.0);
    TextOut(0, 0, text);
    painter_.restore();
}

const QFontMetrics& ShapeCanvas::Metrics() const {
    if (!metrics_ || measuredFont_ != font.font) {
        measuredFont_ = font.font;
        metrics_.emplace(font.font, painter_.device());
    }
    return *metrics_;
}

int ShapeCanvas::TextWidth(const QString& text) const {
    return Metrics().horizontalAdvance(text);
}

// The height of the font's line: every text of one font is as high, whatever its characters.
int ShapeCanvas::TextHeight(const QString&) const {
    return Metrics().height();
}

}  // namespace vardo
