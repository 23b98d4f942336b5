#pragma once

#include "SkinElements.h"

#include <QImage>
#include <QRect>
#include <QSize>

class QPainter;

namespace vardo {

// How an element's frames lie in its image: the Top and Bottom frame edges stack them; the Left
// and Right edges and the control and menu elements place them side by side.
enum class FrameAxis { SideBySide, Stacked };

// The cell of frame (counted from 1; out-of-range frames clamp to the first or last) in the
// element's image.
QRect FrameCell(const TDataSkinObject& element, int frame, FrameAxis axis);

// The element's frame composed at size in nine parts, opaque: the corners keep their size, the
// edges are stretched along, the middle is stretched (nearest pixel) or, with Tile 1, repeated in
// whole copies from the inner top-left. A size narrower than the left and right margins together
// drops both (likewise for the height). Empty without an image.
QImage RenderElement(const TDataSkinObject& element, QSize size, int frame,
                     FrameAxis axis = FrameAxis::SideBySide);

// RenderElement drawn into target; with Trans set, its magenta pixels leave the target as it was.
void DrawElement(QPainter& painter, const QRect& target, const TDataSkinObject& element, int frame,
                 FrameAxis axis = FrameAxis::SideBySide);

// The image with its magenta pixels made fully transparent.
QImage MagentaTransparent(const QImage& image);

}  // namespace vardo
