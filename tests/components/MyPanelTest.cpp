#include "MyPanel.h"
#include "WidgetRender.h"

#include <gtest/gtest.h>

namespace vardo::test {

namespace {

const QColor Fill(10, 20, 30);
constexpr TColor Highlight = RGBColor(200, 100, 50);
constexpr TColor Shadow = RGBColor(40, 80, 120);

// A 60 x 40 panel in its own colours, with the given shape and bevels.
struct Panel {
    TMyPanel panel;
    explicit Panel(TMyPanel::TPanelShape shape, TMyPanel::TPanelBevel outer = TMyPanel::bvRaised,
                   TMyPanel::TPanelBevel inner = TMyPanel::bvNone) {
        panel.resize(60, 40);
        panel.SetColor(RGBColor(Fill.red(), Fill.green(), Fill.blue()));
        panel.SetColorHighlight(Highlight);
        panel.SetColorShadow(Shadow);
        panel.SetPanelShape(shape);
        panel.SetBevelOuter(outer);
        panel.SetBevelInner(inner);
    }
    QImage Render() { return RenderOn(panel, Qt::magenta); }
};

}  // namespace

// --- frames -------------------------------------------------------------------------------------

TEST(MyPanelFrame, ButtonUpWithoutBevels_ThreeRingsDarkestOutside_FrameTwoThick) {
    Panel bed(TMyPanel::ps3DButtonUp, TMyPanel::bvNone, TMyPanel::bvNone);
    const QImage image = bed.Render();
    // Rings 0, 1, 2 are the highlight divided by 1.3, 1.15 and 1; ring 3 is the fill.
    EXPECT_EQ(image.pixelColor(0, 20), QColor(153, 76, 38));
    EXPECT_EQ(image.pixelColor(59, 39), QColor(153, 76, 38));
    EXPECT_EQ(image.pixelColor(1, 20), QColor(173, 86, 43));
    EXPECT_EQ(image.pixelColor(30, 2), QColor(200, 100, 50));
    EXPECT_EQ(image.pixelColor(57, 37), QColor(200, 100, 50));
    EXPECT_EQ(image.pixelColor(3, 20), Fill);
}

TEST(MyPanelFrame, ButtonDownAndBevelWidths_OuterRingFull_ThicknessAddsBothBevels) {
    Panel bed(TMyPanel::ps3DButtonDown, TMyPanel::bvRaised, TMyPanel::bvLowered);
    bed.panel.SetBevelWidth(2);
    ASSERT_EQ(bed.panel.FrameThickness(), 4);
    const QImage image = bed.Render();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(200, 100, 50));
    EXPECT_EQ(image.pixelColor(4, 20), QColor(125, 62, 31));  // divided by 1.6
    EXPECT_EQ(image.pixelColor(5, 20), Fill);
}

TEST(MyPanelFrame, Panel3D_LightTopLeftDarkBottomRight_OuterRightAndBottomOutside) {
    Panel bed(TMyPanel::ps3DPanel);
    const QImage image = bed.Render();
    const QColor outerLight(166, 83, 41);  // highlight / 1.2
    const QColor innerLight(181, 90, 45);  // highlight / 1.1
    const QColor innerDark(36, 72, 109);   // shadow / 1.1
    EXPECT_EQ(image.pixelColor(0, 39), outerLight);
    EXPECT_EQ(image.pixelColor(58, 0), outerLight);
    EXPECT_EQ(image.pixelColor(1, 39), innerLight);  // the inner ring's corner stays light
    EXPECT_EQ(image.pixelColor(59, 20), innerDark);
    EXPECT_EQ(image.pixelColor(30, 39), innerDark);
    EXPECT_EQ(image.pixelColor(58, 20), Fill);
}

TEST(MyPanelFrame, Normal_LoweredOuterBevel_ShadowTopLeftHighlightBottomRight) {
    Panel bed(TMyPanel::psNormal, TMyPanel::bvLowered);
    const QImage image = bed.Render();
    EXPECT_EQ(image.pixelColor(0, 20), ColorToQColor(Shadow));
    EXPECT_EQ(image.pixelColor(30, 0), ColorToQColor(Shadow));
    EXPECT_EQ(image.pixelColor(59, 0), ColorToQColor(Highlight));
    EXPECT_EQ(image.pixelColor(30, 39), ColorToQColor(Highlight));
    EXPECT_EQ(image.pixelColor(1, 20), Fill);
}

// --- caption ------------------------------------------------------------------------------------

TEST(MyPanelCaption, NormalWithBorderOneAndNoBevels_NoFrame_CaptionOnePixelFurtherIn) {
    Panel bed(TMyPanel::psNormal, TMyPanel::bvNone);
    bed.panel.SetCaption("Wg");
    bed.panel.SetAlignmentHorz(TMyPanel::taLeftJustify);
    bed.panel.SetAlignmentVert(TMyPanel::tavTop);
    const QRect flush = InkBounds(bed.Render(), Fill);
    bed.panel.SetBorderWidth(1);
    const QImage image = bed.Render();
    EXPECT_EQ(image.pixelColor(0, 0), Fill);
    EXPECT_EQ(image.pixelColor(59, 39), Fill);
    EXPECT_EQ(InkBounds(image, Fill), flush.translated(1, 1));
}

TEST(MyPanelCaption, Alignments_PlaceTheCaptionInBothDirections) {
    Panel bed(TMyPanel::psNormal, TMyPanel::bvNone);
    bed.panel.resize(200, 100);
    bed.panel.SetCaption("Wg");
    bed.panel.SetAlignmentHorz(TMyPanel::taRightJustify);
    bed.panel.SetAlignmentVert(TMyPanel::tavBottom);
    const QRect bottomRight = InkBounds(bed.Render(), Fill);
    EXPECT_GT(bottomRight.left(), 150);
    EXPECT_GT(bottomRight.top(), 70);
    bed.panel.SetAlignmentHorz(TMyPanel::taCenter);
    bed.panel.SetAlignmentVert(TMyPanel::tavCenter);
    const QRect centre = InkBounds(bed.Render(), Fill);
    EXPECT_NEAR(centre.center().x(), 100, 3);
    EXPECT_NEAR(centre.center().y(), 50, 6);
}

TEST(MyPanelCaption, LineBreak_DrawnOnOneLine) {
    Panel bed(TMyPanel::psNormal, TMyPanel::bvNone);
    bed.panel.resize(200, 100);
    bed.panel.SetAlignmentVert(TMyPanel::tavTop);
    bed.panel.SetCaption("Wg");
    const int lineHeight = InkBounds(bed.Render(), Fill).height();
    bed.panel.SetCaption("Wg\nWg");
    const QRect twice = InkBounds(bed.Render(), Fill);
    EXPECT_EQ(twice.height(), lineHeight);
}

// --- corner images ------------------------------------------------------------------------------

TEST(MyPanelEdges, KeyColourBecomesPanelColour_UnlessEdgesAreOpaque) {
    Panel bed(TMyPanel::psNormal, TMyPanel::bvNone);
    QImage corner(4, 4, QImage::Format_RGB32);
    corner.fill(Qt::white);
    corner.setPixelColor(3, 3, Qt::green);
    bed.panel.SetEdge(TMyPanel::EdgeBottomRight, corner);
    QImage image = bed.Render();
    EXPECT_EQ(image.pixelColor(56, 36), Fill);
    EXPECT_EQ(image.pixelColor(59, 39), QColor(Qt::green));
    bed.panel.SetEdgesTransparent(false);
    image = bed.Render();
    EXPECT_EQ(image.pixelColor(56, 36), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(55, 35), Fill);
}

}  // namespace vardo::test
