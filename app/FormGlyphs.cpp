#include "FormGlyphs.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>

namespace vardo {

namespace {

constexpr int kSmallCell = 16;
constexpr int kLargeCell = 28;
const QColor kDisabledInk(150, 150, 150);

// A strip of cells, each drawn by draw(painter, cell rectangle, ink) on the panel colour, with
// antialiasing kept off the bottom-left pixel that names the transparent colour.
using CellPainter = std::function<void(QPainter&, const QRectF&, const QColor&)>;

QImage Strip(int cell, const std::initializer_list<QColor>& inks, const QColor& panel,
             const CellPainter& draw) {
    QImage strip(cell * static_cast<int>(inks.size()), cell, QImage::Format_RGB32);
    strip.fill(panel);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    int left = 0;
    for (const QColor& ink : inks) {
        draw(painter, QRectF(left, 0, cell, cell), ink);
        left += cell;
    }
    return strip;
}

}  // namespace

QImage PlayGlyph(const QColor& panel) {
    return Strip(kSmallCell, {QColor(20, 140, 40), kDisabledInk}, panel,
                 [](QPainter& painter, const QRectF& cell, const QColor& ink) {
                     const QPointF corner = cell.topLeft();
                     const QPointF triangle[] = {corner + QPointF(4, 2), corner + QPointF(13, 8),
                                                 corner + QPointF(4, 14)};
                     painter.setPen(Qt::NoPen);
                     painter.setBrush(ink);
                     painter.drawPolygon(triangle, 3);
                 });
}

QImage StopGlyph(const QColor& panel) {
    return Strip(kSmallCell, {QColor(200, 30, 30), kDisabledInk}, panel,
                 [](QPainter& painter, const QRectF& cell, const QColor& ink) {
                     painter.setPen(Qt::NoPen);
                     painter.setBrush(ink);
                     painter.drawRoundedRect(cell.adjusted(3, 3, -3, -3), 1.5, 1.5);
                 });
}

QImage SetupGlyph(const QColor& panel) {
    return Strip(kLargeCell, {QColor(50, 70, 110)}, panel,
                 [&panel](QPainter& painter, const QRectF& cell, const QColor& ink) {
                     const QPointF centre = cell.center();
                     QPainterPath wheel;
                     wheel.addEllipse(centre, 9, 9);
                     constexpr int kTeeth = 8;
                     for (int tooth = 0; tooth < kTeeth; ++tooth) {
                         QPainterPath bar;
                         bar.addRect(-2.5, -12.5, 5, 6);
                         bar = QTransform()
                                   .translate(centre.x(), centre.y())
                                   .rotate(tooth * 360.0 / kTeeth)
                                   .map(bar);
                         wheel = wheel.united(bar);
                     }
                     painter.setPen(Qt::NoPen);
                     painter.setBrush(ink);
                     painter.drawPath(wheel);
                     painter.setBrush(panel);
                     painter.drawEllipse(centre, 4, 4);
                 });
}

QImage ExitGlyph(const QColor& panel) {
    return Strip(kLargeCell, {QColor(180, 30, 30)}, panel,
                 [](QPainter& painter, const QRectF& cell, const QColor& ink) {
                     const QPointF centre = cell.center() + QPointF(0, 1);
                     painter.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
                     painter.setBrush(Qt::NoBrush);
                     // An open ring with the gap at the top, and the bar through the gap.
                     const QRectF ring(centre - QPointF(9, 9), QSizeF(18, 18));
                     painter.drawArc(ring, 120 * 16, -240 * 16);
                     painter.drawLine(centre - QPointF(0, 12), centre - QPointF(0, 2));
                 });
}

}  // namespace vardo
