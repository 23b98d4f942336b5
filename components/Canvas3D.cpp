#include "Canvas3D.h"

#include <QPainter>

#include <algorithm>

void CanvasLine(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& color) {
    if (x1 == x2 && y1 != y2) {
        // Rows y1 up to, not including, y2, in either direction.
        const int top = y1 < y2 ? y1 : y2 + 1;
        painter.fillRect(x1, top, 1, std::abs(y2 - y1), color);
    } else if (y1 == y2 && x1 != x2) {
        const int left = x1 < x2 ? x1 : x2 + 1;
        painter.fillRect(left, y1, std::abs(x2 - x1), 1, color);
    }
}

void OutlineRect(QPainter& painter, int left, int top, int right, int bottom, const QColor& color) {
    if (right <= left || bottom <= top) return;
    painter.fillRect(left, top, right - left, 1, color);
    painter.fillRect(left, bottom - 1, right - left, 1, color);
    painter.fillRect(left, top, 1, bottom - top, color);
    painter.fillRect(right - 1, top, 1, bottom - top, color);
}

void Frame3D(QPainter& painter, QRect& rect, const QColor& top, const QColor& bottom, int width) {
    // Inclusive edges of the current ring.
    int left = rect.left();
    int upper = rect.top();
    int right = rect.left() + rect.width() - 1;
    int lower = rect.top() + rect.height() - 1;
    for (int ring = 0; ring < width && left <= right && upper <= lower; ++ring) {
        painter.fillRect(left, upper, right - left, 1, top);           // top edge
        painter.fillRect(left, upper, 1, lower - upper, top);          // left edge
        painter.fillRect(right, upper, 1, lower - upper + 1, bottom);  // right edge
        painter.fillRect(left, lower, right - left, 1, bottom);        // bottom edge
        ++left;
        ++upper;
        --right;
        --lower;
    }
    rect.adjust(width, width, -width, -width);
}
