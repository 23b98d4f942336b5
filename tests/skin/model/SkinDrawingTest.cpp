#include "SkinDrawing.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace vardo {
namespace {

// A 6 x 6 cell with 2-pixel margins: each corner, edge and middle pixel has its own colour, the
// 2 x 2 middle a pattern of four.
const QColor kTopLeft(255, 0, 0), kTop(0, 255, 255), kTopRight(0, 255, 0);
const QColor kLeft(128, 128, 128), kRight(64, 64, 64);
const QColor kBottomLeft(0, 0, 255), kBottom(0, 128, 128), kBottomRight(255, 255, 0);
const QColor kMiddle[2][2] = {{QColor(10, 10, 10), QColor(20, 20, 20)},
                              {QColor(30, 30, 30), QColor(40, 40, 40)}};  // [y][x]

QColor CellColour(int x, int y) {
    const int column = x < 2 ? 0 : x < 4 ? 1 : 2, row = y < 2 ? 0 : y < 4 ? 1 : 2;
    const QColor parts[3][3] = {{kTopLeft, kTop, kTopRight},
                                {kLeft, QColor(), kRight},
                                {kBottomLeft, kBottom, kBottomRight}};
    return column == 1 && row == 1 ? kMiddle[y - 2][x - 2] : parts[row][column];
}

// frames cells side by side (or stacked); frame f's pixels are the cell's with f added to red.
TDataSkinObject NinePart(int frames, FrameAxis axis) {
    TDataSkinObject e;
    const bool stacked = axis == FrameAxis::Stacked;
    e.Bitmap = QImage(stacked ? 6 : 6 * frames, stacked ? 6 * frames : 6, QImage::Format_RGB32);
    for (int f = 0; f < frames; ++f) {
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 6; ++x) {
                QColor c = CellColour(x, y);
                c.setRed(std::min(c.red() + f, 255));
                e.Bitmap.setPixelColor(stacked ? x : 6 * f + x, stacked ? 6 * f + y : y, c);
            }
        }
    }
    e.FrameCount = frames;
    e.LeftMargin = e.TopMargin = e.RightMargin = e.BottomMargin = 2;
    return e;
}

TEST(NinePartDrawing, CornersKeepTheirSizeAndEdgesStretchAlong) {
    const TDataSkinObject e = NinePart(1, FrameAxis::SideBySide);
    const QImage out = RenderElement(e, QSize(12, 10), 1);
    ASSERT_EQ(out.size(), QSize(12, 10));
    EXPECT_EQ(out.pixelColor(0, 0), kTopLeft);
    EXPECT_EQ(out.pixelColor(1, 1), kTopLeft);
    EXPECT_EQ(out.pixelColor(10, 1), kTopRight);
    EXPECT_EQ(out.pixelColor(1, 8), kBottomLeft);
    EXPECT_EQ(out.pixelColor(11, 9), kBottomRight);
    for (int x = 2; x < 10; ++x) {
        EXPECT_EQ(out.pixelColor(x, 0), kTop) << x;
        EXPECT_EQ(out.pixelColor(x, 9), kBottom) << x;
    }
    for (int y = 2; y < 8; ++y) {
        EXPECT_EQ(out.pixelColor(0, y), kLeft) << y;
        EXPECT_EQ(out.pixelColor(11, y), kRight) << y;
    }
}

TEST(NinePartDrawing, MiddleIsStretchedOrTiled) {
    TDataSkinObject e = NinePart(1, FrameAxis::SideBySide);
    // Stretched: the 2 x 2 middle covers the 8 x 6 inside in four quarters.
    const QImage stretched = RenderElement(e, QSize(12, 10), 1);
    EXPECT_EQ(stretched.pixelColor(2, 2), kMiddle[0][0]);
    EXPECT_EQ(stretched.pixelColor(5, 4), kMiddle[0][0]);
    EXPECT_EQ(stretched.pixelColor(6, 2), kMiddle[0][1]);
    EXPECT_EQ(stretched.pixelColor(2, 5), kMiddle[1][0]);
    EXPECT_EQ(stretched.pixelColor(9, 7), kMiddle[1][1]);
    // Tiled: whole copies from the inside's top-left; the right and bottom edges cover the rest.
    e.Tile = 1;
    const QImage tiled = RenderElement(e, QSize(11, 9), 1);
    for (int y = 2; y < 7; ++y) {
        for (int x = 2; x < 9; ++x) {
            EXPECT_EQ(tiled.pixelColor(x, y), kMiddle[(y - 2) % 2][(x - 2) % 2]) << x << "," << y;
        }
    }
    EXPECT_EQ(tiled.pixelColor(9, 4), kRight);
    EXPECT_EQ(tiled.pixelColor(5, 7), kBottom);
}

TEST(NinePartDrawing, TooSmallATargetDropsTheMarginsOfThatDirection) {
    const TDataSkinObject e = NinePart(1, FrameAxis::SideBySide);
    // 3 wide is less than 2 + 2: the whole cell width is stretched over it; heights keep margins.
    const QImage narrow = RenderElement(e, QSize(3, 10), 1);
    EXPECT_EQ(narrow.pixelColor(0, 0), kTopLeft);
    EXPECT_EQ(narrow.pixelColor(1, 0), kTop);
    EXPECT_EQ(narrow.pixelColor(2, 0), kTopRight);
    EXPECT_EQ(narrow.pixelColor(0, 5), kLeft);
    EXPECT_EQ(narrow.pixelColor(1, 9), kBottom);
}

TEST(NinePartDrawing, FrameIsChosenAlongTheElementsAxis) {
    for (const FrameAxis axis : {FrameAxis::SideBySide, FrameAxis::Stacked}) {
        const TDataSkinObject e = NinePart(3, axis);
        // The top edge's red tells the frame; frames beyond the last clamp to it.
        EXPECT_EQ(RenderElement(e, QSize(8, 8), 2, axis).pixelColor(4, 0), QColor(1, 255, 255));
        EXPECT_EQ(RenderElement(e, QSize(8, 8), 3, axis).pixelColor(4, 0), QColor(2, 255, 255));
        EXPECT_EQ(RenderElement(e, QSize(8, 8), 9, axis).pixelColor(4, 0), QColor(2, 255, 255));
        EXPECT_EQ(RenderElement(e, QSize(8, 8), 0, axis).pixelColor(4, 0), kTop);
    }
}

TEST(NinePartDrawing, TransparentElementLeavesMagentaPixelsAsTheyWere) {
    TDataSkinObject e = NinePart(1, FrameAxis::SideBySide);
    for (int y = 2; y < 4; ++y) {
        for (int x = 2; x < 4; ++x) e.Bitmap.setPixelColor(x, y, Qt::magenta);
    }
    QImage canvas(20, 20, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        DrawElement(painter, QRect(4, 4, 10, 10), e, 1);
    }
    EXPECT_EQ(canvas.pixelColor(8, 8), QColor(Qt::magenta));  // opaque element
    e.Trans = 1;
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        DrawElement(painter, QRect(4, 4, 10, 10), e, 1);
    }
    EXPECT_EQ(canvas.pixelColor(8, 8), QColor(Qt::white));
    EXPECT_EQ(canvas.pixelColor(4, 4), kTopLeft);
    EXPECT_EQ(canvas.pixelColor(3, 3), QColor(Qt::white));
}

}  // namespace
}  // namespace vardo
