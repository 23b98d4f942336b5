#pragma once

#include <QImage>
#include <QWidget>

namespace vardo::test {

// What widget paints over a backdrop of one colour, at its own size; whatever it leaves
// unpainted keeps the backdrop.
inline QImage RenderOn(QWidget& widget, const QColor& backdrop) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(backdrop);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// The smallest rectangle holding every pixel that differs from background.
inline QRect InkBounds(const QImage& image, const QColor& background) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != background) bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

}  // namespace vardo::test
