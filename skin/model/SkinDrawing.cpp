#include "SkinDrawing.h"

#include <QPainter>

#include <algorithm>

namespace vardo {

QRect FrameCell(const TDataSkinObject& element, int frame, FrameAxis axis) {
    const QImage& image = element.Bitmap;
    const int frames = std::max(element.FrameCount, 1);
    const int index = std::clamp(frame, 1, frames) - 1;
    if (axis == FrameAxis::Stacked) {
        const int height = image.height() / frames;
        return QRect(0, index * height, image.width(), height);
    }
    const int width = image.width() / frames;
    return QRect(index * width, 0, width, image.height());
}

QImage RenderElement(const TDataSkinObject& element, QSize size, int frame, FrameAxis axis) {
    const QRect cell = FrameCell(element, frame, axis);
    if (element.Bitmap.isNull() || cell.isEmpty() || size.isEmpty()) return QImage();

    int left = element.LeftMargin, right = element.RightMargin;
    int top = element.TopMargin, bottom = element.BottomMargin;
    if (size.width() < left + right) left = right = 0;
    if (size.height() < top + bottom) top = bottom = 0;

    QImage out(size, QImage::Format_RGB32);
    out.fill(QColor(0xFF, 0x00, 0xFF));
    QPainter painter(&out);
    const auto copy = [&](const QRect& source, const QRect& target) {
        if (source.width() > 0 && source.height() > 0 && target.width() > 0 &&
            target.height() > 0) {
            painter.drawImage(target, element.Bitmap, source.translated(cell.topLeft()));
        }
    };

    const int cw = cell.width(), ch = cell.height();
    const int tw = size.width(), th = size.height();
    const int cellInnerW = cw - left - right, cellInnerH = ch - top - bottom;
    const int innerW = tw - left - right, innerH = th - top - bottom;

    if (left > 0 && top > 0) copy(QRect(0, 0, left, top), QRect(0, 0, left, top));
    if (left > 0 && bottom > 0) {
        copy(QRect(0, ch - bottom, left, bottom), QRect(0, th - bottom, left, bottom));
    }
    if (right > 0 && top > 0)
        copy(QRect(cw - right, 0, right, top), QRect(tw - right, 0, right, top));
    copy(QRect(0, top, left, cellInnerH), QRect(0, top, left, innerH));
    copy(QRect(left, 0, cellInnerW, top), QRect(left, 0, innerW, top));

    const QRect middle(left, top, cellInnerW, cellInnerH);
    if (element.Tile == 1 && cellInnerW > 0 && cellInnerH > 0) {
        for (int y = top; y < th - bottom; y += cellInnerH) {
            for (int x = left; x < tw - right; x += cellInnerW) {
                copy(middle, QRect(x, y, cellInnerW, cellInnerH));
            }
        }
    } else {
        copy(middle, QRect(left, top, innerW, innerH));
    }

    if (right > 0 && bottom > 0) {
        copy(QRect(cw - right, ch - bottom, right, bottom),
             QRect(tw - right, th - bottom, right, bottom));
    }
    copy(QRect(cw - right, top, right, cellInnerH), QRect(tw - right, top, right, innerH));
    copy(QRect(left, ch - bottom, cellInnerW, bottom), QRect(left, th - bottom, innerW, bottom));
    return out;
}

void DrawElement(QPainter& painter, const QRect& target, const TDataSkinObject& element, int frame,
                 FrameAxis axis) {
    const QImage image = RenderElement(element, target.size(), frame, axis);
    if (image.isNull()) return;
    painter.drawImage(target.topLeft(), element.Trans != 0 ? MagentaTransparent(image) : image);
}

QImage MagentaTransparent(const QImage& image) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((line[x] & 0xFFFFFFu) == 0xFF00FFu && qAlpha(line[x]) == 0xFF) line[x] = 0;
        }
    }
    return out;
}

}  // namespace vardo
