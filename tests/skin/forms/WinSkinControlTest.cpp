#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include "SkinFixture.h"
#include "WinSkinControl.h"

namespace vardo::test {
namespace {

// A check box class of its own, which the skin's third-party list can name.
class PlainCheck final : public QCheckBox {
    Q_OBJECT
  public:
    using QCheckBox::QCheckBox;
};

class WinSkinControlTest : public SkinFixture {
  protected:
    WinSkinControlTest() {
        window_.resize(300, 200);
        button_ = new QPushButton(&window_);
        button_->setGeometry(10, 10, 80, 30);
        check_ = new QCheckBox(&window_);
        check_->setGeometry(10, 50, 80, 20);
        check_->setTristate(true);
    }

    TWinSkinForm* ShowSkinned() {
        window_.show();
        return Skin(window_);
    }

    static QColor Centre(QWidget& control) {
        const QImage image = control.grab().toImage();
        return image.pixelColor(image.width() / 2, image.height() / 2);
    }
    // The middle of the check box's glyph (13 x 13 at its left).
    static QColor Glyph(QWidget& control) {
        const QImage image = control.grab().toImage();
        return image.pixelColor(6, image.height() / 2);
    }
    static QColor CheckCell(int frame) { return QColor(frame * 20, 100, 0); }

    QWidget window_;
    QPushButton* button_;
    QCheckBox* check_;
};

TEST_F(WinSkinControlTest, PushButton_DrawsTheFrameOfEachState) {
    TWinSkinForm* form = ShowSkinned();
    ASSERT_NE(form, nullptr);
    ASSERT_NE(form->ControlSkinner(button_), nullptr);

    EXPECT_EQ(Centre(*button_), kButtonFrames[0]) << "normal: frame 1";
    QApplication::setActiveWindow(&window_);
    button_->setFocus();
    EXPECT_EQ(Centre(*button_), kButtonFrames[4]) << "focused: frame 5";
    button_->setDown(true);
    EXPECT_EQ(Centre(*button_), kButtonFrames[1]) << "pressed: frame 2";
    button_->setDown(false);
    button_->clearFocus();
    QTest::mouseMove(button_, QPoint(40, 15));
    QCoreApplication::processEvents();
    ASSERT_TRUE(button_->underMouse());
    EXPECT_EQ(Centre(*button_), kButtonFrames[3]) << "under the mouse: frame 4";
    button_->setDown(true);
    button_->setEnabled(false);
    EXPECT_EQ(Centre(*button_), kButtonFrames[2]) << "disabled: frame 3 over all";
}

TEST_F(WinSkinControlTest, CheckBox_TwelveFrameImageMapsEachState) {
    ASSERT_NE(ShowSkinned(), nullptr);
    EXPECT_EQ(Glyph(*check_), CheckCell(1));
    check_->setCheckState(Qt::Checked);
    EXPECT_EQ(Glyph(*check_), CheckCell(5));
    check_->setCheckState(Qt::PartiallyChecked);
    EXPECT_EQ(Glyph(*check_), CheckCell(9));
    check_->setEnabled(false);
    EXPECT_EQ(Glyph(*check_), CheckCell(12));
    check_->setCheckState(Qt::Checked);
    EXPECT_EQ(Glyph(*check_), CheckCell(8));
    check_->setCheckState(Qt::Unchecked);
    EXPECT_EQ(Glyph(*check_), CheckCell(4));
}

TEST_F(WinSkinControlTest, Tags_DisableTagKeepsAControlPlainAndFollowsTheComponent) {
    button_->setProperty("Tag", 7);
    check_->setProperty("Tag", 99);
    data_.DisableTag = 7;
    TWinSkinForm* form = ShowSkinned();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->ControlSkinner(button_), nullptr);
    EXPECT_NE(form->ControlSkinner(check_), nullptr) << "99 means nothing to a control here";
    EXPECT_NE(Centre(*button_), kButtonFrames[0]);

    windows_.RunCommand(scSwitchOff, data_);
    data_.DisableTag = 99;
    form = Skin(window_);
    ASSERT_NE(form, nullptr);
    EXPECT_NE(form->ControlSkinner(button_), nullptr);
    EXPECT_EQ(form->ControlSkinner(check_), nullptr);
}

TEST_F(WinSkinControlTest, Skin3rd_ClassOfKindNilStaysPlainThoughItsBaseIsSkinned) {
    auto* plain = new PlainCheck(&window_);
    plain->setGeometry(10, 80, 80, 20);
    data_.Skin3rd << "PlainCheck=nil";
    TWinSkinForm* form = ShowSkinned();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->ControlSkinner(plain), nullptr);
    EXPECT_NE(form->ControlSkinner(check_), nullptr);
}

TEST_F(WinSkinControlTest, SwitchOff_GivesTheControlsTheirOwnPaintingBack) {
    ASSERT_NE(ShowSkinned(), nullptr);
    EXPECT_EQ(Centre(*button_), kButtonFrames[0]);
    windows_.RunCommand(scSwitchOff, data_);
    EXPECT_NE(Centre(*button_), kButtonFrames[0]);
    EXPECT_FALSE(AnswersSkinned(button_));
}

}  // namespace
}  // namespace vardo::test

#include "WinSkinControlTest.moc"
