#include "MyPanel.h"

#include "ShapeCanvas.h"

#include <QPainter>

namespace vardo {

namespace {

// Matches no pixel: with EdgesTransparent off the corner images are copied unchanged.
constexpr TColor NoKeyColor = 0x1FFFFFFF;

// image with every pixel of the key colour replaced by fill.
QImage KeyedCopy(const QImage& image, TColor key, const QColor& fill) {
    QImage copy = image.convertToFormat(QImage::Format_RGB32);
    if (key == NoKeyColor) return copy;
    const QRgb keyRgb = ColorToQColor(key).rgb() & 0xFFFFFF;
    for (int y = 0; y < copy.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(copy.scanLine(y));
        for (int x = 0; x < copy.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == keyRgb) line[x] = fill.rgb();
        }
    }
    return copy;
}

void Outline(ShapeCanvas& canvas, const TRect& rect, TColor color) {
    canvas.SetPen(1, color, Qt::SolidLine);
    canvas.brushClear = true;
    canvas.Rectangle(rect);
}

}  // namespace

TMyPanel::TMyPanel(QWidget* parent) : QWidget(parent) {
    // paintEvent covers every pixel.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TMyPanel::SetEdge(TEdge corner, const QImage& image) {
    edges_[corner] = image.copy();
    update();
}

int TMyPanel::FrameThickness() const {
    int thickness = 0;
    if (bevelOuter_ != bvNone) thickness += bevelWidth_;
    if (bevelInner_ != bvNone) thickness += bevelWidth_;
    return std::max(thickness, 2);
}

void TMyPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ShapeCanvas canvas(painter);
    TRect area{0, 0, width(), height()};
    canvas.SetBrushColor(color_);
    canvas.FillRect(area);
    DrawEdges(painter);
    if (panelShape_ == psNormal) {
        DrawBevels(canvas, area);
    } else {
        DrawShapeFrame(canvas);
    }
    DrawCaption(painter, area);
}

void TMyPanel::DrawEdges(QPainter& painter) const {
    const TColor key = edgesTransparent_ ? transparentColor_ : NoKeyColor;
    const QColor fill = ColorToQColor(color_);
    for (const TEdge corner : {EdgeTopLeft, EdgeTopRight, EdgeBottomLeft, EdgeBottomRight}) {
        const QImage& image = edges_[corner];
        if (image.isNull()) continue;
        const bool right = corner == EdgeTopRight || corner == EdgeBottomRight;
        const bool bottom = corner == EdgeBottomLeft || corner == EdgeBottomRight;
        painter.drawImage(right ? width() - image.width() : 0,
                          bottom ? height() - image.height() : 0, KeyedCopy(image, key, fill));
    }
}

void TMyPanel::DrawShapeFrame(ShapeCanvas& canvas) const {
    const int t = FrameThickness();
    const int w = width();
    const int h = height();
    switch (panelShape_) {
        case ps3DButtonUp:  // the outer edge darkest: a raised button
            for (int i = 0; i <= t; ++i) {
                Outline(canvas, {i, i, w - i, h - i},
                        DimColor(colorHighlight_, (t - i) * 0.15 + 1));
            }
            break;
        case ps3DButtonDown:  // the outer edge full: a pressed button
            for (int i = 0; i <= t; ++i) {
                Outline(canvas, {i, i, w - i, h - i}, DimColor(colorHighlight_, i * 0.15 + 1));
            }
            break;
        case ps3DFrame: {  // a groove of width t whose middle line is brightest
            const int g = std::max(t / 2, 1);
            for (int k = 0; k <= g; ++k) {
                const TColor color = DimColor(colorHighlight_, (g - k) * 0.2 + 1);
                Outline(canvas, {k, k, w - k, h - k}, color);
                Outline(canvas, {t - k, t - k, w + k - t, h + k - t}, color);
            }
            break;
        }
        case ps3DPanel:
            // Ring i runs up the left from (i, h - i), across the top, down the right at w - i
            // and back along the bottom at h - i; each leg stops one pixel short of where the
            // next begins, so the ring's first right and bottom legs fall outside the panel.
            for (int i = 0; i < t; ++i) {
                canvas.SetPen(1, DimColor(colorHighlight_, (t - i) * 0.1 + 1), Qt::SolidLine);
                canvas.Line(i, h - i, i, i + 1);
                canvas.Line(i, i, w - i - 1, i);
                canvas.SetPen(1, DimColor(colorShadow_, i * 0.1 + 1), Qt::SolidLine);
                canvas.Line(w - i, i, w - i, h - i - 1);
                canvas.Line(w - i, h - i, i + 1, h - i);
            }
            break;
        case psNormal:
            break;
    }
}

void TMyPanel::DrawBevels(ShapeCanvas& canvas, TRect& area) const {
    const auto bevel = [&](TPanelBevel kind) {
        if (kind == bvNone) return;
        const bool lowered = kind == bvLowered;
        canvas.Frame3D(area, lowered ? colorShadow_ : colorHighlight_,
                       lowered ? colorHighlight_ : colorShadow_, bevelWidth_);
    };
    bevel(bevelOuter_);
    area = area.Inflated(-borderWidth_);
    bevel(bevelInner_);
}

void TMyPanel::DrawCaption(QPainter& painter, const TRect& area) const {
    if (caption_.isEmpty()) return;
    static constexpr Qt::Alignment Horizontal[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    static constexpr Qt::Alignment Vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::Active, QPalette::WindowText));
    // One line whatever the caption holds. The status strip shows task descriptions, so a "&"
    // in a caption is text, not an accelerator.
    painter.drawText(QRect(area.left, area.top, area.Width(), area.Height()),
                     Qt::TextSingleLine | Qt::TextExpandTabs | Horizontal[alignmentHorz_] |
                         Vertical[alignmentVert_],
                     caption_);
}

}  // namespace vardo
