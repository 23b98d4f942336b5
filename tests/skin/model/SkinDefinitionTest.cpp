#include "SkinDrawing.h"
#include "SkinModelSupport.h"

#include <gtest/gtest.h>

namespace vardo {
namespace {

using test::FrameStrip;
using test::ReadModel;
using test::Solid;

const TDataSkinSysButton* ButtonNamed(const TSkinModel& model, const QString& name) {
    for (const auto& button : model.CaptionButtons) {
        if (button->Name == name) return button.get();
    }
    return nullptr;
}

TEST(CaptionButtons, SectionsAreChosenByNameActionAndVisibility) {
    const auto model = ReadModel(
        "[Buttons]\r\nBitmap=b.bmp\r\n[BUTTON.RADIO]\r\n[Button.Checkbox]\r\n[Button]\r\n"
        "[Other]\r\nAction=0\r\n"
        "[Button.Hidden]\r\nAction=-1\r\n"
        "[Button.Spacer]\r\nAction=-1\r\nVisibility=0\r\n"
        "[button.close]\r\nAction=0\r\nAlign=1\r\nXcoord=26\r\nYcoord=5\r\n");
    ASSERT_EQ(model->CaptionButtons.size(), 5u);  // two of the file, three MDI buttons
    EXPECT_EQ(model->CaptionButtons[0]->Name, "Button.Spacer");
    EXPECT_EQ(model->CaptionButtons[1]->Name, "button.close");
    const TDataSkinSysButton& spacer = *model->CaptionButtons[0];
    EXPECT_EQ(spacer.Visibility1, -1);  // an Action -1 button is never shown by default
    EXPECT_EQ(spacer.FrameCount, 6);
    EXPECT_EQ(spacer.CombineOp, -1);
    const TDataSkinSysButton& close = *model->CaptionButtons[1];
    EXPECT_EQ(close.Align, 1);
    EXPECT_EQ(close.X, 26);
    EXPECT_EQ(close.Y, 5);
    EXPECT_EQ(close.Visibility1, 0);
}

TEST(CaptionButtons, FrameCountFollowsTheImageProportionsWhenNotGiven) {
    const auto model = ReadModel(
        "[Button.Three]\r\nAction=0\r\nButtonImage=skins\\three.bmp\r\n"
        "[Button.Six]\r\nAction=1\r\nButtonImage=six.bmp\r\n"
        "[Button.Edge]\r\nAction=2\r\nButtonImage=edge.bmp\r\n"
        "[Button.Given]\r\nAction=2\r\nframe=2\r\nButtonImage=six.bmp\r\n"
        "[Button.Negative]\r\nAction=-5\r\nVisibility=0\r\nButtonImage=three.bmp\r\n"
        "[Button.Icon]\r\nAction=3\r\nButtonImage=three.bmp\r\n"
        "[Button.NoImage]\r\nAction=2\r\nButtonImage=missing.bmp\r\n"
        "[MdiControls]\r\nImage=mdi.bmp\r\n",
        {{"three.bmp", Solid(60, 20, Qt::red)},
         {"six.bmp", Solid(120, 20, Qt::green)},
         {"edge.bmp", Solid(76, 20, Qt::blue)},
         {"mdi.bmp", FrameStrip(QSize(10, 8), std::vector<QColor>(12, Qt::gray))}});
    // A folder part before the bitmap's name is dropped for the lookup.
    EXPECT_EQ(ButtonNamed(*model, "Button.Three")->Bitmap.size(), QSize(60, 20));
    EXPECT_EQ(ButtonNamed(*model, "Button.Three")->FrameCount, 3);
    EXPECT_EQ(ButtonNamed(*model, "Button.Six")->FrameCount, 6);
    EXPECT_EQ(ButtonNamed(*model, "Button.Edge")->FrameCount, 3);  // 76 / 20 = 3.8
    EXPECT_EQ(ButtonNamed(*model, "Button.Given")->FrameCount, 2);
    EXPECT_EQ(ButtonNamed(*model, "Button.Negative")->FrameCount, 6);
    // The system-menu button shows the window's icon instead of an image.
    EXPECT_TRUE(ButtonNamed(*model, "Button.Icon")->Bitmap.isNull());
    EXPECT_EQ(ButtonNamed(*model, "Button.NoImage")->FrameCount, 6);

    // The MDI buttons take 4 of the 12 cells each, right to left from the end of the menu bar.
    ASSERT_GE(model->CaptionButtons.size(), 3u);
    const auto mdi = model->CaptionButtons.end() - 3;
    for (int k = 0; k < 3; ++k) {
        const TDataSkinSysButton& button = *mdi[k];
        EXPECT_EQ(button.Action, 7 + k);
        EXPECT_EQ(button.Align, 100);
        EXPECT_EQ(button.Visibility, 100);
        EXPECT_EQ(button.Visibility1, 100);
        EXPECT_EQ(button.FrameCount, 4);
        EXPECT_EQ(button.Bitmap.size(), QSize(40, 8));
        EXPECT_EQ(button.X, 14 * (3 - k));
    }
}

TEST(Elements, FrameCountsAndMarginsFollowTheElementNotTheFile) {
    const auto model = ReadModel(
        "[Tabs]\r\nImage=t.bmp\r\nFrame=9\r\n"
        "[Headerbar]\r\nImage=t.bmp\r\nFrame=2\r\n"
        "[MenuItem]\r\nImage=t.bmp\r\nTile=2\r\n"
        "[Progress]\r\nBitmap=t.bmp\r\nStyle=1\r\nTile=3\r\n"
        "[Progress.Chunk]\r\nImage=t.bmp\r\nLeftWidth=-3\r\nRightWidth=2147483647\r\n"
        "[Tab.Pane]\r\nImage=t.bmp\r\nLeftWidth=9\r\nTopHeight=2\r\n"
        "[HorzScrollThumb]\r\nImage=t.bmp\r\n"
        "[VertScrollThumb]\r\nImage=t.bmp\r\nFrameCount=4\r\n"
        "[Buttons]\r\nRadioButton=radio.bmp\r\nCheckButton=check.bmp\r\n"
        "[GroupBoxEdge]\r\nFrame=2\r\n",
        {{"t.bmp", Solid(40, 10, Qt::gray)},
         {"radio.bmp", Solid(65, 13, Qt::gray)},
         {"check.bmp", Solid(96, 16, Qt::gray)}});
    EXPECT_EQ(model->Tabs->FrameCount, 5);
    EXPECT_EQ(model->Headerbar->FrameCount, 2);
    EXPECT_EQ(model->MenuItem->Tile, 0);
    EXPECT_EQ(model->Progress->FrameCount, 1);
    EXPECT_EQ(model->Progress->Tile, 1);
    EXPECT_EQ(model->ProgressChunk->FrameCount, 1);  // none given: one frame, never zero
    EXPECT_EQ(model->ProgressChunk->LeftMargin, 0);
    EXPECT_EQ(model->ProgressChunk->RightMargin, 4096);
    EXPECT_FALSE(RenderElement(*model->ProgressChunk, QSize(30, 10), 1).isNull());
    EXPECT_EQ(model->TabPane->LeftMargin, 4);
    EXPECT_EQ(model->TabPane->TopMargin, 2);
    EXPECT_EQ(model->HorzScrollThumb->FrameCount, 3);
    EXPECT_EQ(model->VertScrollThumb->FrameCount, 4);
    EXPECT_EQ(model->Buttons.RadioFrameCount, 5);  // 65 / 13
    EXPECT_EQ(model->Buttons.CheckFrameCount, 6);  // 96 / 16
    EXPECT_EQ(model->Buttons.FrameCount, 5);
    EXPECT_EQ(model->GroupBoxEdge, nullptr);  // no image: the control paints unskinned
    EXPECT_EQ(model->SunkEdge, nullptr);
    // Without a skin channel the program's own stands in.
    ASSERT_NE(model->Track, nullptr);
    EXPECT_FALSE(model->Track->Bitmap.isNull());
    EXPECT_EQ(model->Track->LeftMargin, 3);
    EXPECT_FALSE(model->TrackVert->Bitmap.isNull());
}

TEST(Elements, ComboBoxIsComposedFromSunkenEdgeButtonAndGlyph) {
    const std::vector<QColor> sunk{Qt::red, Qt::green, Qt::blue, Qt::yellow};
    const std::vector<QColor> button{Qt::darkRed, Qt::darkGreen, Qt::darkBlue, Qt::darkYellow};
    const auto model = ReadModel(
        "[SunkEdge]\r\nImage=sunk.bmp\r\nLeftWidth=3\r\nTopHeight=3\r\nRightWidth=3\r\n"
        "BottomHeight=4\r\n[ComboButton]\r\nImage=button.bmp\r\n",
        {{"sunk.bmp", FrameStrip(QSize(20, 21), sunk)},
         {"button.bmp", FrameStrip(QSize(18, 21), button)}});
    const TDataSkinBorder& combo = *model->ComboButton;
    ASSERT_EQ(combo.Bitmap.size(), QSize(200, 21));
    EXPECT_EQ(combo.Style, 2);
    EXPECT_EQ(combo.FrameCount, 4);
    EXPECT_EQ(combo.LeftMargin, 2);
    EXPECT_EQ(combo.TopMargin, 3);
    EXPECT_EQ(combo.RightMargin, 18);
    EXPECT_EQ(combo.BottomMargin, 4);
    EXPECT_EQ(combo.Bitmap2.size(), QSize(72, 21));  // the skin's own button image
    for (int i = 0; i < 4; ++i) {
        const int x = 50 * i;
        EXPECT_EQ(combo.Bitmap.pixelColor(x, 0), sunk[i]) << i;
        EXPECT_EQ(combo.Bitmap.pixelColor(x + 10, 10), QColor(Qt::magenta)) << i;
        EXPECT_EQ(combo.Bitmap.pixelColor(x + 40, 10), button[i]) << i;
    }
    // The edits keep the sunken edge as the skin drew it.
    EXPECT_EQ(model->SunkEdge->Bitmap.size(), QSize(80, 21));
    EXPECT_EQ(model->SunkEdge->LeftMargin, 3);
    // The arrow is the button's part of each cell.
    const TDataSkinObject& arrow = *model->ComboArrow;
    EXPECT_EQ(arrow.Name, "ComboxArrow");
    ASSERT_EQ(arrow.Bitmap.size(), QSize(68, 17));
    EXPECT_EQ(arrow.FrameCount, 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(arrow.Bitmap.pixelColor(17 * i + 8, 8), button[i]) << i;
}

TEST(Elements, ToolbarBackgroundShadesFromTheFrameColour) {
    QImage top = Solid(30, 40, QColor(100, 100, 100));
    top.setPixelColor(10, 6, QColor(0, 0, 200));  // (width / 3, frame height / 3) of frame 1
    const auto model = ReadModel(
        "[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\n[Colours]\r\nButtonFace=200 200 "
        "200\r\n",
        {{"top.bmp", top}});
    EXPECT_EQ(model->FrameColour, 200 << 16);
    const QImage& toolbar = model->Toolbar->Bitmap;
    ASSERT_EQ(toolbar.size(), QSize(10, 40));
    // Top: ButtonFace into white at 150 per thousand; bottom: the saturated blue frame colour
    // into white at (5625 - 255 * 25) / 140 + 50 = 45 per cent.
    EXPECT_EQ(toolbar.pixelColor(5, 0), QColor(247, 247, 247));
    EXPECT_EQ(toolbar.pixelColor(5, 39), QColor(140, 140, 230));

    const auto grey = ReadModel("[Colours]\r\nButtonFace=200 200 200\r\n");
    EXPECT_EQ(grey->FrameColour, ParseColourValue("200 200 200"));  // no Top image
    // A grey frame: 150 per thousand of 0x808080 into it.
    EXPECT_EQ(grey->Toolbar->Bitmap.pixelColor(0, 39), QColor(189, 189, 189));
}

}  // namespace
}  // namespace vardo
