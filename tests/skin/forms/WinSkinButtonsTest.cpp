#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "SkinFixture.h"
#include "WinSkinButtons.h"

namespace vardo::test {
namespace {

// A solid icon of a colour no skin frame has.
const QColor kIconColour{0, 200, 0};

QIcon SolidIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(kIconColour);
    return QIcon(pixmap);
}

class WinSkinButtonsTest : public SkinFixture {
  protected:
    WinSkinButtonsTest() { window_.resize(300, 200); }

    TWinSkinForm* ShowSkinned() {
        window_.show();
        return Skin(window_);
    }

    static QImage Look(QWidget& control) { return control.grab().toImage(); }

    static int PixelsOf(const QImage& image, const QColor& colour) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
        }
        return count;
    }

    QWidget window_;
};

// Tabbing through skinned choices shows where the focus is: a dotted frame round the focused
// caption, in the caption's colour; a component whose options hold xoNoFocusRect draws none.
TEST_F(WinSkinButtonsTest, CheckAndRadio_FocusedCaptionIsFramedUnlessNoFocusRect) {
    auto* check = new QCheckBox(QStringLiteral("Check box"), &window_);
    check->setGeometry(10, 10, 150, 24);
    auto* radio = new QRadioButton(QStringLiteral("Radio button"), &window_);
    radio->setGeometry(10, 50, 150, 24);
    auto* other = new QPushButton(QStringLiteral("Other"), &window_);
    other->setGeometry(10, 90, 80, 24);
    window_.show();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    ASSERT_NE(Skin(window_), nullptr);

    for (QAbstractButton* choice : std::initializer_list<QAbstractButton*>{check, radio}) {
        const QColor caption = choice->palette().color(QPalette::WindowText);
        other->setFocus();
        const QImage unfocused = Look(*choice);
        choice->setFocus();
        ASSERT_TRUE(choice->hasFocus());
        const int frame = PixelsOf(Look(*choice), caption) - PixelsOf(unfocused, caption);
        const int captionWidth = choice->fontMetrics().horizontalAdvance(choice->text());
        EXPECT_GE(frame, captionWidth / 2) << choice->text().toStdString() << ": no focus mark";

        data_.Options.Include(xoNoFocusRect);
        EXPECT_EQ(Look(*choice), unfocused) << choice->text().toStdString();
        data_.Options.Exclude(xoNoFocusRect);
    }
}

TEST_F(WinSkinButtonsTest, ToolButton_AutoRaiseIsFlatUntilHotPressedOrChecked) {
    auto* tool = new QToolButton(&window_);
    tool->setGeometry(10, 10, 40, 30);
    tool->setIcon(SolidIcon());
    tool->setAutoRaise(true);
    tool->setCheckable(true);
    auto* framed = new QToolButton(&window_);
    framed->setGeometry(60, 10, 40, 30);
    TWinSkinForm* form = ShowSkinned();
    ASSERT_NE(form, nullptr);
    ASSERT_NE(dynamic_cast<TSkinSpeedButton*>(form->ControlSkinner(tool)), nullptr);

    const QColor face = window_.palette().color(QPalette::Window);
    EXPECT_EQ(Look(*tool).pixelColor(2, 2), face) << "flat: no frame, the parent's background";
    EXPECT_EQ(Look(*tool).pixelColor(20, 15), kIconColour) << "the icon in the middle";
    EXPECT_EQ(Look(*framed).pixelColor(2, 2), kButtonFrames[0]) << "not auto-raise: frame 1";

    tool->setChecked(true);
    EXPECT_EQ(Look(*tool).pixelColor(2, 2), kButtonFrames[1]) << "checked: frame 2";
    EXPECT_EQ(Look(*tool).pixelColor(20, 15), kIconColour);
    tool->setChecked(false);
    QTest::mouseMove(tool, QPoint(20, 15));
    QCoreApplication::processEvents();
    ASSERT_TRUE(tool->underMouse());
    EXPECT_EQ(Look(*tool).pixelColor(2, 2), kButtonFrames[3]) << "under the mouse: frame 4";
    tool->setDown(true);
    EXPECT_EQ(Look(*tool).pixelColor(2, 2), kButtonFrames[1]) << "pressed: frame 2";
}

TEST_F(WinSkinButtonsTest, IconButton_CentresIconAndCaptionAsAGroupAndGreysTheIconWhenDisabled) {
    auto* button = new QPushButton(SolidIcon(), QStringLiteral("Start"), &window_);
    button->setGeometry(10, 10, 160, 30);
    TWinSkinForm* form = ShowSkinned();
    ASSERT_NE(form, nullptr);
    ASSERT_NE(dynamic_cast<TSkinBitButton*>(form->ControlSkinner(button)), nullptr);

    const QImage image = Look(*button);
    EXPECT_EQ(image.pixelColor(2, 2), kButtonFrames[0]);
    const int textWidth = button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width();
    const int iconLeft = (button->width() - 16 - 4 - textWidth) / 2;
    EXPECT_EQ(image.pixelColor(iconLeft + 8, 15), kIconColour) << "the icon left of the caption";
    EXPECT_NE(image.pixelColor(iconLeft - 2, 15), kIconColour);
    EXPECT_NE(image.pixelColor(iconLeft + 16 + 1, 15), kIconColour);

    button->setEnabled(false);
    const QImage disabled = Look(*button);
    EXPECT_EQ(disabled.pixelColor(2, 2), kButtonFrames[2]);
    EXPECT_NE(disabled.pixelColor(iconLeft + 8, 15), kIconColour) << "the disabled icon";
}

TEST_F(WinSkinButtonsTest, MenuButton_ShowsTheArrowInTheCaptionColourAndOpensItsMenu) {
    QMenu menu;
    menu.addAction(QStringLiteral("One"));
    auto* button = new QPushButton(QStringLiteral("More"), &window_);
    button->setGeometry(10, 10, 100, 30);
    button->setMenu(&menu);
    TWinSkinForm* form = ShowSkinned();
    ASSERT_NE(form, nullptr);
    ASSERT_NE(dynamic_cast<TSkinMenuButton*>(form->ControlSkinner(button)), nullptr);

    // The arrow box is the last 10 pixels before a 4-pixel inset at the right.
    const QImage image = Look(*button);
    const QColor caption = ColorToQColor(data_.Model().Colours.ButtonText);
    EXPECT_EQ(image.pixelColor(button->width() - 4 - 5, button->height() / 2 - 1), caption);
    EXPECT_EQ(image.pixelColor(button->width() - 4 - 5, 4), kButtonFrames[0]);

    bool opened = false;
    QTimer::singleShot(0, [&] {
        opened = menu.isVisible();
        menu.close();
    });
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(50, 15));
    EXPECT_TRUE(opened) << "the skinned button still drops its menu down";
}

TEST_F(WinSkinButtonsTest, SwitchOff_GivesToolAndMenuButtonsTheirOwnLookBack) {
    QMenu menu;
    auto* tool = new QToolButton(&window_);
    tool->setGeometry(10, 10, 40, 30);
    tool->setIcon(SolidIcon());
    auto* button = new QPushButton(QStringLiteral("More"), &window_);
    button->setGeometry(60, 10, 100, 30);
    button->setMenu(&menu);
    window_.show();
    const QImage ownTool = Look(*tool);
    const QImage ownButton = Look(*button);
    ASSERT_NE(Skin(window_), nullptr);
    ASSERT_NE(Look(*tool), ownTool);
    ASSERT_NE(Look(*button), ownButton);

    windows_.RunCommand(scSwitchOff, data_);
    EXPECT_EQ(Look(*tool), ownTool);
    EXPECT_EQ(Look(*button), ownButton);
}

}  // namespace
}  // namespace vardo::test
