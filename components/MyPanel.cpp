#include "MyPanel.h"

#include <QPainter>

#include "Canvas3D.h"

namespace {

// Matches no pixel: with EdgesTransparent off the corner images are copied unchanged.
constexpr TColor kNoKeyColor = 0x1FFFFFFF;

QColor Dimmed(TColor color, double factor) {
    return ColorToQColor(DimColor(color, factor));
}

// image with every pixel of the key colour replaced by fill.
QImage KeyedCopy(const QImage& image, TColor key, const QColor& fill) {
    QImage copy = image.convertToFormat(QImage::Format_RGB32);
    if (key == kNoKeyColor) return copy;
    const QRgb keyRgb = ColorToQColor(key).rgb();
    const QRgb fillRgb = fill.rgb();
    for (int y = 0; y < copy.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(copy.scanLine(y));
        for (int x = 0; x < copy.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == (keyRgb & 0xFFFFFF)) line[x] = fillRgb;
        }
    }
    return copy;
}

}  // namespace

TMyPanel::TMyPanel(QWidget* parent) : QWidget(parent) {
    // Every pixel is painted by paintEvent.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TMyPanel::setEdge(TEdge corner, const QImage& image) {
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
    const QColor panelColor = ColorToQColor(color_);
    painter.fillRect(rect(), panelColor);
    DrawEdges(painter, panelColor);
    QRect captionArea = rect();
    if (panelShape_ == psNormal) {
        captionArea = DrawBevels(painter);
    } else {
        DrawShapeFrame(painter);
    }
    DrawCaption(painter, captionArea);
}

void TMyPanel::DrawEdges(QPainter& painter, const QColor& panelColor) const {
    const TColor key = edgesTransparent_ ? transparentColor_ : kNoKeyColor;
    for (const TEdge corner : {EdgeTopLeft, EdgeTopRight, EdgeBottomLeft, EdgeBottomRight}) {
        const QImage& image = edges_[corner];
        if (image.isNull()) continue;
        const bool right = corner == EdgeTopRight || corner == EdgeBottomRight;
        const bool bottom = corner == EdgeBottomLeft || corner == EdgeBottomRight;
        const int x = right ? width() - image.width() : 0;
        const int y = bottom ? height() - image.height() : 0;
        painter.drawImage(x, y, KeyedCopy(image, key, panelColor));
    }
}

void TMyPanel::DrawShapeFrame(QPainter& painter) const {
    const int t = FrameThickness();
    const int w = width();
    const int h = height();
    switch (panelShape_) {
        case ps3DButtonUp:  // outer edge darkest: a raised button
            for (int i = 0; i <= t; ++i) {
                OutlineRect(painter, i, i, w - i, h - i,
                            Dimmed(colorHighlight_, (t - i) * 0.15 + 1));
            }
            break;
        case ps3DButtonDown:  // outer edge full: a pressed button
            for (int i = 0; i <= t; ++i) {
                OutlineRect(painter, i, i, w - i, h - i, Dimmed(colorHighlight_, i * 0.15 + 1));
            }
            break;
        case ps3DFrame: {  // a groove whose middle line is brightest
            const int g = std::max(t / 2, 1);
            for (int k = 0; k <= g; ++k) {
                const QColor color = Dimmed(colorHighlight_, (g - k) * 0.2 + 1);
                OutlineRect(painter, k, k, w - k, h - k, color);
                OutlineRect(painter, t - k, t - k, w + k - t, h + k - t, color);
            }
            break;
        }
        case ps3DPanel:
            // Lines from (i, h - i) up, across, down and back; the first right and bottom lines
            // fall just outside the panel.
            for (int i = 0; i < t; ++i) {
                const QColor light = Dimmed(colorHighlight_, (t - i) * 0.1 + 1);
                CanvasLine(painter, i, h - i, i, i, light);
                CanvasLine(painter, i, i, w - i, i, light);
                const QColor dark = Dimmed(colorShadow_, i * 0.1 + 1);
                CanvasLine(painter, w - i, i, w - i, h - i, dark);
                CanvasLine(painter, w - i, h - i, i, h - i, dark);
            }
            break;
        case psNormal:
            break;
    }
}

QRect TMyPanel::DrawBevels(QPainter& painter) const {
    const QColor highlight = ColorToQColor(colorHighlight_);
    const QColor shadow = ColorToQColor(colorShadow_);
    const auto bevel = [&](QRect& area, TPanelBevel kind) {
        if (kind == bvNone) return;
        const bool lowered = kind == bvLowered;
        Frame3D(painter, area, lowered ? shadow : highlight, lowered ? highlight : shadow,
                bevelWidth_);
    };
    QRect area = rect();
    bevel(area, bevelOuter_);
    area.adjust(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
    bevel(area, bevelInner_);
    return area;
}

void TMyPanel::DrawCaption(QPainter& painter, const QRect& area) const {
    if (caption_.isEmpty()) return;
    static constexpr Qt::Alignment kHorizontal[] = {Qt::AlignLeft, Qt::AlignRight,
                                                    Qt::AlignHCenter};
    static constexpr Qt::Alignment kVertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::Active, QPalette::WindowText));
    // One line whatever the caption holds: the status strip shows task descriptions, and a "&"
    // in them is text, not an accelerator.
    painter.drawText(area,
                     Qt::TextSingleLine | Qt::TextExpandTabs | kHorizontal[alignmentHorz_] |
                         kVertical[alignmentVert_],
                     caption_);
}
