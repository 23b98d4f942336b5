#pragma once

#include "MyShape.h"
#include "TColor.h"

#include <QImage>
#include <QPainter>

namespace vardo::test {

// The control painted alone on a background of `background`, at its own size.
inline QImage Render(TMyShape& shape, QColor background = QColor(0, 255, 0)) {
    QImage image(shape.size(), QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    shape.Paint(painter);
    return image;
}

inline QColor PixelAt(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

inline QColor Rgb(TColor color) {
    return ColorToQColor(color);
}

}  // namespace vardo::test
