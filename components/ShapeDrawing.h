#pragma once

// The drawing family of the shape control: what it draws for each DrawShape, on a canvas the
// control has prepared (pen of PenWidth in Color, the inverse colour as a clear brush, the
// control's font).

#include "MyShape.h"
#include "ShapeCanvas.h"

#include <QString>
#include <array>
#include <optional>

namespace vardo {

// Display names of the shapes, one per DrawShape in order; the control itself does not read them.
extern const std::array<QString, TMyShape::DrawShapeCount> DrawShapeNames;

// Draws the control's DrawShape. Some shapes adjust the control while they draw: a junction
// grows to its minimum proportions, a coil snaps its length to whole humps, the height meter
// writes its bar's top into sID.
void DrawShapeMember(TMyShape& shape, ShapeCanvas& canvas);

// Draws text at any angle with shaded rings, from fields separated by "~~": text, x, y, angle in
// tenths of a degree counter-clockwise, font, shade colour, ring count and offset count. A given
// `text` replaces the first field.
void DrawEffectText(ShapeCanvas& canvas, const QString& spec,
                    const std::optional<QString>& text = std::nullopt);

}  // namespace vardo
