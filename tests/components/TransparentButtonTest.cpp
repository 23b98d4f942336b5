#include "MyTransBtn.h"
#include "MyTransBtnOld.h"
#include "WidgetRender.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QEnterEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace vardo::test {

namespace {

const QColor Backdrop(0, 200, 0);

// A system colour as an 8-bit image pixel holds it (the palette keeps 16 bits a channel).
QColor System(TColor color) {
    return QColor(ColorToQColor(color).rgb());
}

// A glyph strip of the given size on white, with one pixel of ink colour at (3, 3) of each cell.
QImage Strip(int width, int height, const QColor& ink = QColor(200, 100, 50)) {
    QImage strip(width, height, QImage::Format_RGB32);
    strip.fill(Qt::white);
    for (int x = 3; x < width; x += height) strip.setPixelColor(x, 3, ink);
    return strip;
}

// A 40 x 30 button with a 10 x 10 glyph, which draws at (15, 10).
struct GlyphButton {
    TTransparentButton button;
    explicit GlyphButton(const QImage& glyph, TransparentButtonBase::TFrameStyle style) {
        button.resize(40, 30);
        button.SetFrameStyle(style);
        button.SetGlyph(glyph);
    }
    QColor GlyphPixel(int x, int y) {
        return RenderOn(button, Backdrop).pixelColor(15 + x, 10 + y);
    }
};

void Enter(QWidget& widget) {
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&widget, &enter);
}

}  // namespace

// --- glyph preparation --------------------------------------------------------------------------

TEST(TransparentButtonGlyph, CellCount_FromTheStripsShape) {
    TTransparentButton button;
    button.SetGlyph(Strip(40, 20));
    EXPECT_EQ(button.NumGlyphs(), 2);
    button.SetGlyph(Strip(100, 20));
    EXPECT_EQ(button.NumGlyphs(), 1);  // five cells is more than a strip holds
    button.SetNumGlyphs(3);
    button.SetGlyph(Strip(50, 20));
    EXPECT_EQ(button.NumGlyphs(), 3);  // not a whole number of square cells
    button.SetGlyph(Strip(60, 20));
    EXPECT_EQ(button.NumGlyphs(), 3);
    EXPECT_EQ(button.GlyphImages().size(), 5u);  // three cells, grey and disabled copies
}

TEST(TransparentButtonGlyph, NumGlyphsOutsideOneToFour_IsClampedBeforeAStripOfNoSquareCells) {
    TTransparentButton button;
    button.resize(40, 30);
    button.SetNumGlyphs(0);
    EXPECT_EQ(button.NumGlyphs(), 1);
    button.SetGlyph(Strip(50, 20));
    EXPECT_EQ(button.GlyphImages().size(), 3u);  // one cell, grey and disabled copies
    EXPECT_FALSE(RenderOn(button, Backdrop).isNull());
    button.SetNumGlyphs(7);
    EXPECT_EQ(button.NumGlyphs(), 4);
}

TEST(TransparentButtonGlyph, ExplorerWithAutoGray_GreyWithRedElevenBlueThirty_UntilPointerEnters) {
    GlyphButton bed(Strip(10, 10), TTransparentButton::fsExplorer);
    // (11 * 200 + 59 * 100 + 30 * 50) / 100 = 96; with red and blue swapped it would be 124.
    EXPECT_EQ(bed.GlyphPixel(3, 3), QColor(96, 96, 96));
    EXPECT_EQ(bed.GlyphPixel(4, 4), Backdrop);  // white, the bottom-left colour, is transparent
    Enter(bed.button);
    EXPECT_EQ(bed.GlyphPixel(3, 3), QColor(200, 100, 50));
}

TEST(TransparentButtonGlyph, DisabledOneCell_EtchedInShadowWithHighlightBelowRight) {
    GlyphButton bed(Strip(10, 10), TTransparentButton::fsNone);
    bed.button.setEnabled(false);
    EXPECT_EQ(bed.GlyphPixel(3, 3), System(clBtnShadow));
    EXPECT_EQ(bed.GlyphPixel(4, 4), System(clBtnHighlight));
    EXPECT_EQ(bed.GlyphPixel(5, 5), Backdrop);  // the face around the ink is transparent
}

TEST(TransparentButtonGlyph, DisabledCopy_KeyAndWhiteAreBackgroundEverythingElseInk) {
    QImage glyph(10, 10, QImage::Format_RGB32);
    glyph.fill(QColor(0, 0, 255));  // the top-left colour is the key
    glyph.setPixelColor(2, 2, Qt::white);
    glyph.setPixelColor(6, 2, QColor(1, 1, 1));
    GlyphButton bed(glyph, TTransparentButton::fsNone);
    bed.button.setEnabled(false);
    EXPECT_EQ(bed.GlyphPixel(2, 2), Backdrop);
    EXPECT_EQ(bed.GlyphPixel(6, 2), System(clBtnShadow));
}

TEST(TransparentButtonGlyph, DisabledTwoCells_DrawsTheSecondCell) {
    QImage strip = Strip(20, 10);
    strip.setPixelColor(13, 3, Qt::blue);
    GlyphButton bed(strip, TTransparentButton::fsNone);
    EXPECT_EQ(bed.GlyphPixel(3, 3), QColor(200, 100, 50));
    bed.button.setEnabled(false);
    EXPECT_EQ(bed.GlyphPixel(3, 3), QColor(Qt::blue));
}

// --- frames -------------------------------------------------------------------------------------

// Corner pixels of each frame style, at rest and pressed, and what the middle shows in each
// look: the backdrop when transparent, the button face when not.
TEST(TransparentButtonFrame, EachStyle_CornerColoursAtRestAndPressed_InBothLooks) {
    struct Expected {
        TransparentButtonBase::TFrameStyle style;
        QColor restTopLeft, restBottomRight, pressedTopLeft, pressedBottomRight;
    };
    const QColor black(Qt::black);
    const QColor face = System(clBtnFace);
    const QColor shadow = System(clBtnShadow);
    const QColor highlight = System(clBtnHighlight);
    const QColor dark = System(cl3DDkShadow);
    const Expected table[] = {
        {TTransparentButton::fsRegular, highlight, black, black, highlight},
        {TTransparentButton::fsIndent, shadow, highlight, black, highlight},
        {TTransparentButton::fsExplorer, Backdrop, Backdrop, shadow, highlight},  // pressed: Down
        {TTransparentButton::fsNone, Backdrop, Backdrop, Backdrop, Backdrop},
        {TTransparentButton::fsLight, highlight, shadow, shadow, highlight},
        {TTransparentButton::fsDark, face, dark, dark, face},
        {TTransparentButton::fsMono, highlight, dark, dark, highlight},
    };
    for (const Expected& expected : table) {
        for (const bool transparent : {true, false}) {
            SCOPED_TRACE(testing::Message()
                         << "style " << expected.style << " transparent " << transparent);
            TTransparentButton button;
            button.resize(40, 30);
            button.SetFrameStyle(expected.style);
            button.SetTransparent(transparent);
            const QColor restOutside = transparent ? Backdrop : face;
            QImage image = RenderOn(button, Backdrop);
            const auto atRest = [&](const QColor& color) {
                return color == Backdrop ? restOutside : color;
            };
            EXPECT_EQ(image.pixelColor(0, 0), atRest(expected.restTopLeft));
            EXPECT_EQ(image.pixelColor(39, 29), atRest(expected.restBottomRight));
            EXPECT_EQ(image.pixelColor(20, 15), transparent ? Backdrop : face);
            button.SetDown(true);
            image = RenderOn(button, Backdrop);
            EXPECT_EQ(image.pixelColor(0, 0), atRest(expected.pressedTopLeft));
            EXPECT_EQ(image.pixelColor(39, 29), atRest(expected.pressedBottomRight));
        }
    }
}

TEST(TransparentButtonFrame, ExplorerHovered_RaisedFrame) {
    TTransparentButton button;
    button.resize(40, 30);
    Enter(button);
    const QImage image = RenderOn(button, Backdrop);
    EXPECT_EQ(image.pixelColor(0, 0), System(clBtnHighlight));
    EXPECT_EQ(image.pixelColor(39, 29), System(clBtnShadow));
}

// The caption of a disabled button is etched: shadow over highlight, no text colour left.
TEST(TransparentButtonFrame, DisabledCaption_EtchedInShadowAndHighlight) {
    TTransparentButton button;
    button.resize(80, 30);
    QFont large = button.font();
    large.setPixelSize(20);
    button.setFont(large);
    button.SetCaption("HIH");
    const auto contains = [](const QImage& image, const QColor& color) {
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) == color) return true;
            }
        }
        return false;
    };
    const QColor text(button.palette().color(QPalette::ButtonText).rgb());
    EXPECT_TRUE(contains(RenderOn(button, Backdrop), text));
    button.setEnabled(false);
    const QImage disabled = RenderOn(button, Backdrop);
    EXPECT_FALSE(contains(disabled, text));
    EXPECT_TRUE(contains(disabled, System(clBtnShadow)));
    EXPECT_TRUE(contains(disabled, System(clBtnHighlight)));
}

// --- mouse --------------------------------------------------------------------------------------

TEST(TransparentButtonMouse, PressAndReleaseInside_ClicksOnce_ReleaseOutsideDoesNot) {
    TTransparentButton button;
    QSignalSpy clicks(&button, &TransparentButtonBase::clicked);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(button.PressedLook());
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(button.PressedLook());

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(60, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(button.PressedLook());
}

TEST(TransparentButtonMouse, Disabled_IgnoresPressesAndClicks) {
    TTransparentButton button;
    QSignalSpy clicks(&button, &TransparentButtonBase::clicked);
    button.setEnabled(false);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(button.PressedLook());
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(10, 10));
    button.click();
    EXPECT_EQ(clicks.count(), 0);
}

TEST(TransparentButtonMouse, Down_ClickOfTheProgramsButtonReleasesIt_TheTwinStaysDown) {
    TTransparentButton button;
    button.SetDown(true);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(button.Down());
    EXPECT_FALSE(button.PressedLook());

    TMyTransBtn twin;
    EXPECT_EQ(twin.Caption(), "Caption");
    twin.SetDown(true);
    QSignalSpy clicks(&twin, &TransparentButtonBase::clicked);
    QTest::mouseClick(&twin, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(twin.Down());
    EXPECT_TRUE(twin.PressedLook());
}

// The menu opens under the button's bottom-left corner while the press is shown, and the button
// looks released once it closes. The program's button opens it on the right button only.
TEST(TransparentButtonMouse, PopUpMenu_OpensBelowOnTheRightButton_TwinOnAny) {
    const auto opensOn = [](TransparentButtonBase& button, Qt::MouseButton mouseButton) {
        QWidget window;
        button.setParent(&window);
        button.move(30, 20);
        window.show();
        QMenu menu;
        menu.addAction("Item");
        button.SetPopUpMenu(&menu);
        bool opened = false;
        QTimer::singleShot(0, &menu, [&] {
            opened = menu.isVisible();
            EXPECT_EQ(menu.pos(), button.mapToGlobal(QPoint(0, button.height())));
            EXPECT_TRUE(button.PressedLook());
            menu.close();
        });
        QTest::mousePress(&button, mouseButton, {}, QPoint(5, 5));
        QTest::mouseRelease(&button, mouseButton, {}, QPoint(5, 5));
        EXPECT_FALSE(button.PressedLook());
        button.setParent(nullptr);
        return opened;
    };
    TTransparentButton button;
    EXPECT_TRUE(opensOn(button, Qt::RightButton));
    EXPECT_FALSE(opensOn(button, Qt::LeftButton));
    TMyTransBtn twin;
    EXPECT_TRUE(opensOn(twin, Qt::LeftButton));
}

// --- keyboard -----------------------------------------------------------------------------------

TEST(TransparentButtonKeyboard, TabReachesTheButton_SpaceAndEnterClickIt_AltLetterToo) {
    QWidget window;
    auto* first = new TTransparentButton(&window);
    auto* second = new TTransparentButton(&window);
    second->move(50, 0);
    second->SetCaption("&Go");
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    first->setFocus(Qt::TabFocusReason);
    QSignalSpy clicks(second, &TransparentButtonBase::clicked);

    QTest::keyClick(first, Qt::Key_Tab);
    ASSERT_TRUE(second->hasFocus());
    QTest::keyClick(second, Qt::Key_Space);
    QTest::keyClick(second, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 2);
    QTest::keyClick(&window, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 3);
    second->setEnabled(false);
    QTest::keyClick(&window, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 3);
}

}  // namespace vardo::test
