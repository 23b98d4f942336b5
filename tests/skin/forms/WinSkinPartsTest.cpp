#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSizeGrip>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyleOptionSpinBox>
#include <QTest>
#include <QVBoxLayout>

#include "SkinFixture.h"
#include "WinSkinParts.h"

namespace vardo::test {
namespace {

class WinSkinPartsTest : public SkinFixture {
  protected:
    void SetUp() override { LoadSkin(ControlsTestSkinFile()); }

    WinSkinPartsTest() { window_.resize(400, 300); }

    TWinSkinForm* ShowSkinned() {
        window_.show();
        return Skin(window_);
    }

    static QImage Look(QWidget& control) { return control.grab().toImage(); }

    static QRect SpinButton(const QSpinBox& spin, QStyle::SubControl button) {
        QStyleOptionSpinBox option;
        option.initFrom(&spin);
        option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
        option.buttonSymbols = spin.buttonSymbols();
        option.frame = spin.hasFrame();
        return spin.style()->subControlRect(QStyle::CC_SpinBox, &option, button, &spin);
    }

    QWidget window_;
};

TEST_F(WinSkinPartsTest, SpinBox_ArrowsShowTheirUpDownFramesAndStillStepTheValue) {
    auto* spin = new QSpinBox(&window_);
    spin->setGeometry(10, 10, 100, 28);
    ASSERT_NE(ShowSkinned(), nullptr);
    const QRect up = SpinButton(*spin, QStyle::SC_SpinBoxUp);
    const QRect down = SpinButton(*spin, QStyle::SC_SpinBoxDown);
    ASSERT_FALSE(up.isEmpty());

    EXPECT_EQ(Look(*spin).pixelColor(up.center()), UpDownFrame(1)) << "up, normal";
    EXPECT_EQ(Look(*spin).pixelColor(down.center()), UpDownFrame(5)) << "down, normal";
    EXPECT_EQ(Look(*spin).pixelColor(0, spin->height() / 2), SunkFrame(1)) << "the sunken edge";

    QTest::mouseMove(spin, up.center());
    QCoreApplication::processEvents();
    EXPECT_EQ(Look(*spin).pixelColor(up.center()), UpDownFrame(2)) << "up under the mouse";
    EXPECT_EQ(Look(*spin).pixelColor(down.center()), UpDownFrame(5));

    QTest::mousePress(spin, Qt::LeftButton, {}, up.center());
    EXPECT_EQ(Look(*spin).pixelColor(up.center()), UpDownFrame(3)) << "up pressed";
    QTest::mouseRelease(spin, Qt::LeftButton, {}, up.center());
    EXPECT_EQ(spin->value(), 1) << "the skinned arrow steps the value";
    EXPECT_EQ(Look(*spin).pixelColor(up.center()), UpDownFrame(2));

    QTest::mouseClick(spin, Qt::LeftButton, {}, down.center());
    EXPECT_EQ(spin->value(), 0);
    spin->setEnabled(false);
    EXPECT_EQ(Look(*spin).pixelColor(up.center()), UpDownFrame(4)) << "up, disabled";
    EXPECT_EQ(Look(*spin).pixelColor(down.center()), UpDownFrame(8)) << "down, disabled";
}

TEST_F(WinSkinPartsTest, ComboList_ScrollBarAndArrowsAreDrawnFromTheSkinWhileTheListIsOpen) {
    auto* combo = new QComboBox(&window_);
    combo->setGeometry(10, 10, 150, 24);
    for (int i = 0; i < 60; ++i) combo->addItem(QString::number(i));
    combo->setEditable(true);  // a list that scrolls by a bar in every style
    combo->setMaxVisibleItems(8);
    auto* menuList = new QComboBox(&window_);
    menuList->setGeometry(10, 50, 150, 24);
    for (int i = 0; i < 300; ++i) menuList->addItem(QString::number(i));
    ASSERT_NE(ShowSkinned(), nullptr);

    combo->showPopup();
    QCoreApplication::processEvents();
    QScrollBar* bar = combo->view()->verticalScrollBar();
    ASSERT_TRUE(bar->isVisible()) << "the open list scrolls by its bar";
    const QImage image = Look(*bar);
    const int middle = image.width() / 2;
    EXPECT_EQ(image.pixelColor(middle, 2), ArrowFrame(1)) << "the up arrow";
    EXPECT_EQ(image.pixelColor(middle, image.height() - 3), ArrowFrame(5)) << "the down arrow";
    EXPECT_EQ(image.pixelColor(middle, image.height() - image.width() - 3), ShaftFrame(1));
    combo->hidePopup();

    // A list opened as a menu (Fusion's non-editable lists) scrolls by arrows above and below.
    menuList->setCurrentIndex(150);
    menuList->showPopup();
    QCoreApplication::processEvents();
    QList<QWidget*> scrollers;
    for (QWidget* child : menuList->view()->window()->findChildren<QWidget*>()) {
        if (child->inherits("QComboBoxPrivateScroller") && child->isVisible()) scrollers << child;
    }
    ASSERT_EQ(scrollers.size(), 2) << "the long list opened in the middle";
    for (QWidget* scroller : scrollers) {
        const QImage arrow = Look(*scroller);
        const bool up = scroller->y() < menuList->view()->window()->height() / 2;
        EXPECT_EQ(arrow.pixelColor(arrow.width() / 2, arrow.height() / 2), ArrowFrame(up ? 1 : 5));
    }
    menuList->hidePopup();
}

TEST_F(WinSkinPartsTest, OutsidePaintRequests_PaintEditAndBarsIntoTheGivenPainter) {
    auto* edit = new QLineEdit(&window_);
    edit->setGeometry(10, 10, 120, 24);
    auto* memo = new QPlainTextEdit(&window_);
    memo->setGeometry(10, 50, 200, 120);
    memo->setPlainText(QString("line\n").repeated(100));
    ASSERT_NE(ShowSkinned(), nullptr);

    QImage editImage(edit->size(), QImage::Format_RGB32);
    editImage.fill(Qt::black);
    {
        QPainter painter(&editImage);
        SkinPaintEvent wrongKey(kSkinPaintEdit, painter, 1);
        QCoreApplication::sendEvent(edit, &wrongKey);
        EXPECT_EQ(wrongKey.Result(), 0) << "only the key makes it a request";
        EXPECT_EQ(editImage.pixelColor(0, 12), Qt::black);
        SkinPaintEvent request(kSkinPaintEdit, painter);
        QCoreApplication::sendEvent(edit, &request);
        EXPECT_EQ(request.Result(), kOutsidePaintKey);
    }
    EXPECT_EQ(editImage.pixelColor(0, 12), SunkFrame(1)) << "the edit's sunken edge";

    QImage memoImage(memo->size(), QImage::Format_RGB32);
    memoImage.fill(Qt::black);
    {
        QPainter painter(&memoImage);
        SkinPaintEvent request(kSkinPaintBars, painter);
        QCoreApplication::sendEvent(memo, &request);
        EXPECT_EQ(request.Result(), kOutsidePaintKey);
    }
    const QScrollBar* bar = memo->verticalScrollBar();
    const QPoint barAt = bar->mapTo(memo, QPoint(bar->width() / 2, 2));
    EXPECT_EQ(memoImage.pixelColor(barAt), ArrowFrame(1)) << "the bar where it lies on the memo";
    EXPECT_EQ(memoImage.pixelColor(memo->width() / 2, memo->height() / 2), Qt::black)
        << "only the bars";
}

TEST_F(WinSkinPartsTest, SingleScrollbar_SkinsTheHorizontalBarOnly) {
    auto* memo = new QPlainTextEdit(&window_);
    memo->setGeometry(10, 10, 200, 120);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setPlainText((QString(300, 'x') + '\n').repeated(100));
    data_.Skin3rd.prepend("QPlainTextEdit=singlescrollbar");  // ahead of the built-in line
    ASSERT_NE(ShowSkinned(), nullptr);

    QScrollBar* horizontal = memo->horizontalScrollBar();
    QScrollBar* vertical = memo->verticalScrollBar();
    ASSERT_TRUE(horizontal->isVisible() && vertical->isVisible());
    EXPECT_EQ(Look(*horizontal).pixelColor(2, horizontal->height() / 2), ArrowFrame(9))
        << "the left arrow";
    EXPECT_NE(Look(*vertical).pixelColor(vertical->width() / 2, 2), ArrowFrame(1));
}

TEST_F(WinSkinPartsTest, SizeGrip_DotsInTheSkinsShadowOnItsFace) {
    auto* layout = new QVBoxLayout(&window_);
    auto* bar = new QStatusBar;
    layout->addStretch();
    layout->addWidget(bar);
    auto* grip = bar->findChild<QSizeGrip*>();
    ASSERT_NE(grip, nullptr);
    auto* alone = new QSizeGrip(&window_);
    alone->setGeometry(300, 10, 16, 16);
    TWinSkinForm* form = ShowSkinned();
    ASSERT_NE(form, nullptr);
    ASSERT_NE(form->ControlSkinner(grip), nullptr) << "the status bar's own grip";
    ASSERT_TRUE(grip->isVisible());

    const TSkinColours& colours = data_.Model().Colours;
    const QImage image = Look(*alone);
    EXPECT_EQ(image.pixel(0, 0), ColorToQColor(colours.ButtonFace).rgb());
    // The corner dot: 2 x 2 in ButtonShadow, one pixel in from the corner, lit below right.
    EXPECT_EQ(image.pixel(13, 13), ColorToQColor(colours.ButtonShadow).rgb());
    EXPECT_EQ(image.pixel(14, 14), ColorToQColor(colours.ButtonHilight).rgb());
    const QImage inBar = Look(*grip);
    EXPECT_EQ(inBar.pixel(inBar.width() - 3, inBar.height() - 3),
              ColorToQColor(colours.ButtonShadow).rgb());
}

TEST_F(WinSkinPartsTest, SwitchOff_GivesSpinBoxGripListAndScrollBarsTheirOwnLookAndHoverBack) {
    auto* memo = new QPlainTextEdit(&window_);
    memo->setGeometry(200, 50, 150, 100);
    auto* spin = new QSpinBox(&window_);
    spin->setGeometry(10, 10, 100, 28);
    auto* grip = new QSizeGrip(&window_);
    grip->setGeometry(300, 10, 16, 16);
    auto* combo = new QComboBox(&window_);
    combo->setGeometry(10, 50, 150, 24);
    for (int i = 0; i < 60; ++i) combo->addItem(QString::number(i));
    combo->setEditable(true);
    combo->setMaxVisibleItems(8);
    window_.show();
    // Hover tracking as the bars had it, whatever the style gave them.
    memo->verticalScrollBar()->setAttribute(Qt::WA_Hover, false);
    memo->horizontalScrollBar()->setAttribute(Qt::WA_Hover, true);
    const QImage ownSpin = Look(*spin);
    const QImage ownGrip = Look(*grip);
    QScrollBar* listBar = combo->view()->verticalScrollBar();
    combo->showPopup();
    const QImage ownListBar = Look(*listBar);
    combo->hidePopup();

    ASSERT_NE(Skin(window_), nullptr);
    ASSERT_TRUE(memo->verticalScrollBar()->testAttribute(Qt::WA_Hover)) << "skinned bars hover";
    combo->showPopup();
    ASSERT_NE(Look(*listBar), ownListBar);
    combo->hidePopup();
    ASSERT_NE(Look(*spin), ownSpin);

    windows_.RunCommand(scSwitchOff, data_);
    EXPECT_FALSE(memo->verticalScrollBar()->testAttribute(Qt::WA_Hover));
    EXPECT_TRUE(memo->horizontalScrollBar()->testAttribute(Qt::WA_Hover));
    EXPECT_EQ(Look(*spin), ownSpin);
    EXPECT_EQ(Look(*grip), ownGrip);
    combo->showPopup();
    EXPECT_EQ(Look(*listBar), ownListBar);
    combo->hidePopup();
}

}  // namespace
}  // namespace vardo::test
