#include "MyShapeText.h"
#include "ShapeDrawing.h"
#include "ShapeRender.h"

#include <gtest/gtest.h>

namespace vardo::test {

namespace {

const QColor Background(0, 255, 0);

// The bounding box of the pixels that differ from the background.
QRect InkBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != Background) bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

}  // namespace

// --- the arrow ---------------------------------------------------------------------------------

TEST(ShapeDrawingArrow, NarrowUpArrow_UsesUnitOne_FillsItsCorners) {
    TMyShape shape;
    shape.resize(7, 40);
    shape.SetDrawShape(TMyShape::dsArrow);
    shape.SetDrawDirection(TMyShape::ddUp);
    shape.SetPenWidth(0);
    shape.SetShowDot(true);
    const QImage image = Render(shape, Background);
    const QColor blue(0, 0, 255);
    // u = 1: corners (3,39) (3,5) (1,5) (4,0) (7,5) (5,5) (5,39).
    for (const QPoint corner : {QPoint(3, 39), {3, 5}, {1, 5}, {4, 0}, {5, 5}, {5, 39}, {4, 20}}) {
        EXPECT_EQ(PixelAt(image, corner.x(), corner.y()), blue) << corner.x() << "," << corner.y();
    }
    EXPECT_EQ(PixelAt(image, 1, 20), Background);
    EXPECT_EQ(PixelAt(image, 0, 3), Background);
    // The tail dot (2, 36, 6, 40) is filled with the inverted colour.
    EXPECT_EQ(PixelAt(image, 3, 37), QColor(255, 255, 0));
}

TEST(ShapeDrawingArrow, LargeRightArrow_OutlinesItsCorners_WithAnInvertedTailDot) {
    TMyShape shape;
    shape.resize(400, 300);  // u = 37, P = 3
    shape.SetDrawShape(TMyShape::dsArrow);
    const QImage image = Render(shape, Background);
    const QColor blue(0, 0, 255);
    const QColor yellow(255, 255, 0);
    for (const QPoint corner : {QPoint(212, 111), {212, 40}, {397, 148}, {212, 256}, {212, 185}}) {
        EXPECT_EQ(PixelAt(image, corner.x(), corner.y()), blue) << corner.x() << "," << corner.y();
    }
    // Outlined only: the head's inside keeps the background; the tail dot (3, 74, 151, 222)
    // lies over the tail in the inverted colour with a blue rim.
    EXPECT_EQ(PixelAt(image, 300, 148), Background);
    EXPECT_EQ(PixelAt(image, 213, 38), Background);
    EXPECT_EQ(PixelAt(image, 77, 148), yellow);
    EXPECT_EQ(PixelAt(image, 3, 148), blue);
    EXPECT_EQ(PixelAt(image, 2, 148), Background);
}

// --- shading -----------------------------------------------------------------------------------

TEST(ShapeDrawingShading, LevelBar_IsFullColourInTheMiddle_DimmedTowardsTheEdges) {
    TMyShape shape;  // 64 x 56, P = 3: bar (5, 5, 60, 52) at level 1, 27 bands each side
    shape.SetDrawShape(TMyShape::dsRectangle);
    shape.SetDrawDirection(TMyShape::ddUp);
    shape.SetColor(RGBColor(200, 100, 0));
    shape.SetCaption(QStringLiteral("1"));
    const QImage full = Render(shape, Background);
    EXPECT_EQ(PixelAt(full, 32, 30), QColor(200, 100, 0));
    EXPECT_EQ(PixelAt(full, 5, 30), QColor(96, 48, 0));  // dimmed by 1 + 27 * 0.04
    EXPECT_EQ(PixelAt(full, 59, 30), QColor(96, 48, 0));
    EXPECT_EQ(PixelAt(full, 31, 5), PixelAt(full, 33, 51));  // the bands mirror each other

    shape.SetCaption(QStringLiteral("7.5"));
    EXPECT_EQ(Render(shape, Background), full) << "a level above 1 is a full bar";
    shape.SetCaption(QStringLiteral("0.5"));
    const QImage half = Render(shape, Background);
    EXPECT_EQ(PixelAt(half, 32, 10), Background);
    EXPECT_EQ(PixelAt(half, 32, 40), QColor(200, 100, 0));
    shape.SetCaption(QStringLiteral("full"));
    EXPECT_EQ(PixelAt(Render(shape, Background), 32, 50), Background) << "not a number: no bar";
}

TEST(ShapeDrawingShading, HeightMeterWell_FadesFromWhiteToGrey_AndWritesTheBarTop) {
    TMyShape shape;
    shape.resize(120, 300);
    shape.SetDrawShape(TMyShape::dsHeightMeter);
    shape.SetCaption(QStringLiteral("Level,1000"));
    shape.SetFrameWidth(500);
    const QImage image = Render(shape, Background);
    const int q = image.width() / 2;  // the well starts at the label column, at most W / 2
    const int wellTop = QFontMetrics(shape.Font(), &image).height() + 1;
    int left = 0;
    while (PixelAt(image, left, wellTop + 20) != QColor(Qt::white)) ++left;
    EXPECT_LE(left, q);
    // Ten rings, white outside, each dimmed by a further 0.15: the tenth is 255 / 2.35.
    EXPECT_EQ(PixelAt(image, left + 1, wellTop + 20), QColor(221, 221, 221));
    EXPECT_EQ(PixelAt(image, left + 9, wellTop + 20), QColor(108, 108, 108));

    // Half of the full scale: the bar's top lies half the five divisions above the bottom.
    bool ok = false;
    const int barTop = shape.sID().toInt(&ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(shape.FontSize(), 9);
    const int bottom = 300 - 3 - wellTop + 1 - 12;
    EXPECT_NEAR(bottom - barTop, (300 - 3 - 2 * wellTop - 1 - 20) / 5 / 5 * 5 * 5 / 2, 2);
}

// --- dials -------------------------------------------------------------------------------------

TEST(ShapeDrawingClock, ThreeOClock_HourHandRight_MinuteAndSecondHandsUp) {
    TMyShape shape;
    shape.resize(200, 200);
    shape.SetDrawShape(TMyShape::dsClock);
    shape.SetColor(clRed);
    shape.SetCaption(QStringLiteral("3:00:00"));
    const QImage image = Render(shape, Background);
    const QColor red(255, 0, 0);
    EXPECT_EQ(PixelAt(image, 130, 100), red);
    EXPECT_EQ(PixelAt(image, 100, 60), red);
    EXPECT_EQ(PixelAt(image, 70, 100), Background);
    EXPECT_EQ(PixelAt(image, 100, 120), Background);

    shape.SetCaption(QStringLiteral("9:45:00"));
    const QImage nine = Render(shape, Background);
    EXPECT_EQ(PixelAt(nine, 60, 100), red) << "minute 45 points straight left";
    EXPECT_EQ(PixelAt(nine, 130, 100), Background);
}

TEST(ShapeDrawingClock, HandwheelBeyondTheDial_DrawsTheUprightHandleWithTheKnobBelow) {
    TMyShape shape;
    shape.resize(200, 200);
    shape.SetDrawShape(TMyShape::dsHandwheel);
    shape.SetCaption(QStringLiteral("60"));
    const QImage pastTheDial = Render(shape, Background);
    for (const char* caption : {"2147483647", "-2147483648", "400000000"}) {
        shape.SetCaption(QString::fromLatin1(caption));
        EXPECT_EQ(Render(shape, Background), pastTheDial) << caption;
    }
}

// --- other members -----------------------------------------------------------------------------

TEST(ShapeDrawingMembers, MemberWithoutDrawing_ShowsOnlyBackgroundFrameAndHandles) {
    for (const auto member : {TMyShape::dsBattery, TMyShape::dsParallelogram, TMyShape::daAcLink}) {
        TMyShape shape;
        shape.SetDrawShape(member);
        shape.SetCaption(QStringLiteral("Caption"));
        shape.SetbkTransParent(false);
        shape.SetShowFrame(true);
        const QImage image = Render(shape, Background);
        EXPECT_EQ(PixelAt(image, 0, 0), QColor(Qt::white));
        EXPECT_EQ(PixelAt(image, 63, 55), QColor(128, 128, 128));
        EXPECT_EQ(InkBounds(image.copy(1, 1, 62, 54)), QRect(0, 0, 62, 54));
        for (int y = 1; y < 55; ++y) {
            for (int x = 1; x < 63; ++x) {
                ASSERT_EQ(PixelAt(image, x, y), QColor(0, 0, 255))
                    << member << " " << x << "," << y;
            }
        }
    }
}

TEST(ShapeDrawingMembers, TriLineUp_GrowsToTwiceItsWidth_ForkAtTheNewBottom) {
    TMyShape shape;
    shape.resize(40, 50);
    shape.SetDrawShape(TMyShape::dsTriLine);
    shape.SetDrawDirection(TMyShape::ddUp);
    QImage image(40, 90, QImage::Format_RGB32);
    image.fill(Background);
    QPainter painter(&image);
    shape.Paint(painter);
    painter.end();
    EXPECT_EQ(shape.size(), QSize(40, 80));
    EXPECT_EQ(PixelAt(image, 20, 40), QColor(0, 0, 255)) << "the fork's apex at (W/2, H-W)";
    EXPECT_EQ(PixelAt(image, 10, 60), QColor(0, 0, 255)) << "the left leg down to (0, H)";
    EXPECT_EQ(PixelAt(image, 20, 60), Background);
}

TEST(ShapeDrawingMembers, TableOfOneByOne_DrawsOnlyTheFourBorderLines) {
    TMyShape shape;
    shape.resize(60, 40);
    shape.SetPenWidth(1);
    shape.SetDrawShape(TMyShape::dsTable);
    shape.SetCaption(QStringLiteral("1,1"));
    const QImage image = Render(shape, Background);
    int inkRows = 0;
    for (int y = 0; y < 40; ++y) inkRows += PixelAt(image, 30, y) != Background;
    int inkColumns = 0;
    for (int x = 0; x < 60; ++x) inkColumns += PixelAt(image, x, 20) != Background;
    EXPECT_EQ(inkRows, 2);
    EXPECT_EQ(inkColumns, 2);
    EXPECT_NE(PixelAt(image, 30, 0), Background);
    EXPECT_NE(PixelAt(image, 30, 39), Background);

    shape.SetCaption(QStringLiteral("3,4"));
    const QImage grid = Render(shape, Background);
    inkRows = 0;
    for (int y = 0; y < 40; ++y) inkRows += PixelAt(grid, 30, y) != Background;
    EXPECT_EQ(inkRows, 3);
}

TEST(ShapeDrawingMembers, MultTextWithoutSeparator_DrawsExactlyLikeText) {
    TMyShape shape;
    shape.SetCaption(QStringLiteral("Label"));
    const QImage text = Render(shape, Background);
    shape.SetDrawShape(TMyShape::dsMultText);
    EXPECT_EQ(Render(shape, Background), text);
    shape.SetCaption(QStringLiteral("Up,Down"));
    const QRect rows = InkBounds(Render(shape, Background));
    EXPECT_LT(rows.top(), 14);
    EXPECT_GT(rows.bottom(), 42);
}

// --- rotated text ------------------------------------------------------------------------------

TEST(ShapeDrawingEffectText, QuarterTurnClockwise_RunsDownLeftOfTheReference_WithABlackRing) {
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Background);
    QPainter painter(&image);
    ShapeCanvas canvas(painter);
    DrawEffectText(canvas, QStringLiteral("HHHHHH~~100~~20~~-900~~DejaVu Sans;14;255;255;255;;"
                                          "~~0;0;0;~~1~~0"));
    painter.end();
    const QRect ink = InkBounds(image);
    EXPECT_GT(ink.height(), 2 * ink.width());
    EXPECT_LE(ink.right(), 101);
    EXPECT_GE(ink.top(), 18);
    bool black = false;
    bool white = false;
    for (int y = ink.top(); y <= ink.bottom(); ++y) {
        for (int x = ink.left(); x <= ink.right(); ++x) {
            black |= PixelAt(image, x, y) == QColor(Qt::black);
            white |= PixelAt(image, x, y) == QColor(Qt::white);
        }
    }
    EXPECT_TRUE(black);
    EXPECT_TRUE(white);

    // The offset count of the lowest integer draws nothing.
    QImage empty(50, 50, QImage::Format_RGB32);
    empty.fill(Background);
    QPainter emptyPainter(&empty);
    ShapeCanvas emptyCanvas(emptyPainter);
    DrawEffectText(emptyCanvas, QStringLiteral("X~~10~~10~~0~~~~~~1~~-2147483648"));
    emptyPainter.end();
    EXPECT_TRUE(InkBounds(empty).isNull());
}

}  // namespace vardo::test
