#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QVBoxLayout>

#include "SkinFixture.h"

namespace vardo::test {
namespace {

using WinSkinFormTest = SkinFixture;

const TWinSysButton* ButtonWithAction(const TWinSkinForm& form, const TSkinData& data, int action,
                                      int visibility = -2) {
    for (const auto& button : form.CaptionButtons()) {
        const TDataSkinSysButton& element = *data.Model().CaptionButtons[button->ElementIndex];
        if (element.Action == action && (visibility == -2 || element.Visibility == visibility)) {
            return button.get();
        }
    }
    return nullptr;
}

TEST_F(WinSkinFormTest, SizeableWindow_ClientShrinksByTheFrameAndComesBackAfterSwitchOff) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* content = new QLabel("content");
    layout->addWidget(content);
    window.resize(400, 300);
    manager_.SetSkinningOn(false);
    window.show();
    manager_.SetSkinningOn(true);
    // The outer size stays; the window manager's frame gives way to the skin's.
    const QSize outer = window.frameGeometry().size();
    TWinSkinForm* form = Skin(window);
    ASSERT_NE(form, nullptr);
    QCoreApplication::processEvents();

    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(window.size(), outer);
    EXPECT_EQ(form->ClientRect(), QRect(kLeft, kCaption, outer.width() - kLeft - kRight,
                                        outer.height() - kCaption - kBottom));
    EXPECT_EQ(content->geometry(), form->ClientRect());

    windows_.RunCommand(scSwitchOff, data_);
    QCoreApplication::processEvents();
    EXPECT_EQ(windows_.FormSkinner(&window), nullptr);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(window.size(), QSize(400, 300));
    EXPECT_EQ(content->geometry(), QRect(0, 0, 400, 300));
    EXPECT_FALSE(AnswersSkinned(&window));
}

TEST_F(WinSkinFormTest, FixedWindowWithoutLayout_KeepsItsClientAndItsChildrenMoveIntoIt) {
    QWidget window;
    window.setFixedSize(300, 200);
    auto* child = new QLabel("child", &window);
    child->setGeometry(0, 0, 50, 20);
    window.show();
    ASSERT_NE(Skin(window), nullptr);

    EXPECT_EQ(window.size(), QSize(300 + kLeft + kRight, 200 + kCaption + kBottom));
    EXPECT_EQ(child->pos(), QPoint(kLeft, kCaption));

    windows_.RunCommand(scSwitchOff, data_);
    EXPECT_EQ(window.size(), QSize(300, 200));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(child->pos(), QPoint(0, 0));
}

TEST_F(WinSkinFormTest, InactiveWindow_ShowsTheSecondFrameOfTheEdges) {
    QWidget window;
    QWidget other;
    window.resize(300, 200);
    window.show();
    other.show();
    TWinSkinForm* form = Skin(window);
    ASSERT_NE(form, nullptr);

    QApplication::setActiveWindow(&window);
    QImage frame = form->RenderFrame();
    EXPECT_EQ(Pixel(frame, 2, 100), kActiveEdge);
    EXPECT_EQ(Pixel(frame, 100, 10), kActiveTop);
    const int w = window.width(), h = window.height();
    EXPECT_EQ(Pixel(frame, 100, h - 3), kActiveEdge);

    QApplication::setActiveWindow(&other);
    frame = form->RenderFrame();
    EXPECT_EQ(Pixel(frame, 2, 100), kInactiveEdge);
    EXPECT_EQ(Pixel(frame, w - 3, 100), kInactiveEdge);
    EXPECT_EQ(Pixel(frame, 100, 10), kInactiveTop);
}

TEST_F(WinSkinFormTest, CaptionButtons_VisibilityCodesMaximisedOnlyAndNever) {
    QWidget window;
    window.resize(300, 200);
    window.show();
    TWinSkinForm* form = Skin(window);
    ASSERT_NE(form, nullptr);
    const TWinSysButton* close = ButtonWithAction(*form, data_, 0);
    const TWinSysButton* maximise = ButtonWithAction(*form, data_, 1);
    const TWinSysButton* never = ButtonWithAction(*form, data_, -1, 0);
    ASSERT_TRUE(close && maximise && never);

    EXPECT_TRUE(close->Visible);
    EXPECT_EQ(close->Rect, QRect(window.width() - 22, 3, 18, 18));
    EXPECT_EQ(Pixel(form->RenderFrame(), window.width() - 13, 12), kCloseNormal);
    EXPECT_FALSE(maximise->Visible);
    EXPECT_FALSE(never->Visible);

    window.showMaximized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(maximise->Visible);
    EXPECT_FALSE(never->Visible);
    window.showNormal();
    QCoreApplication::processEvents();
    EXPECT_FALSE(maximise->Visible);
}

TEST_F(WinSkinFormTest, CloseButton_ReleasedOutsideDoesNothingReleasedOnItCloses) {
    QWidget window;
    window.resize(300, 200);
    window.show();
    TWinSkinForm* form = Skin(window);
    ASSERT_NE(form, nullptr);
    const QPoint onClose(window.width() - 13, 12);

    QTest::mousePress(&window, Qt::LeftButton, {}, onClose);
    EXPECT_EQ(Pixel(form->RenderFrame(), onClose.x(), onClose.y()), kClosePressed);
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(100, 12));
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(Pixel(form->RenderFrame(), onClose.x(), onClose.y()), kCloseNormal);

    QTest::mousePress(&window, Qt::LeftButton, {}, onClose);
    QTest::mouseRelease(&window, Qt::LeftButton, {}, onClose);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(WinSkinFormTest, Dialogs_GetDialogBordersAndNoIcon) {
    LoadSkin(TestSkinFile("TextShift=24\r\n"));
    QWidget window;
    QDialog dialog;
    QMessageBox box(QMessageBox::Information, "t", "text");
    for (QWidget* w : {&window, static_cast<QWidget*>(&dialog), static_cast<QWidget*>(&box)}) {
        w->resize(300, 200);
        w->setWindowTitle("Title");
        w->show();
    }
    TWinSkinForm* plain = Skin(window);
    TWinSkinForm* dialogForm = Skin(dialog);
    TWinSkinForm* boxForm = Skin(box);
    ASSERT_TRUE(plain && dialogForm && boxForm);

    EXPECT_EQ(plain->Class().BorderKind, bkSizeable);
    EXPECT_EQ(dialogForm->Class().BorderKind, bkDialog);
    EXPECT_FALSE(dialogForm->Class().StandardDialog);
    EXPECT_EQ(boxForm->Class().BorderKind, bkDialog);
    EXPECT_TRUE(boxForm->Class().StandardDialog);
    EXPECT_TRUE(ButtonWithAction(*plain, data_, 3)->Visible);
    EXPECT_FALSE(ButtonWithAction(*dialogForm, data_, 3)->Visible);
    EXPECT_FALSE(ButtonWithAction(*boxForm, data_, 3)->Visible);

    // The title starts where the icon would be: the first text pixel of a dialog lies 16 pixels
    // left of a window's.
    const auto firstTextColumn = [](const QImage& frame) {
        for (int x = 0; x < frame.width(); ++x) {
            for (int y = 0; y < kCaption; ++y) {
                if (frame.pixelColor(x, y) == Qt::white) return x;
            }
        }
        return -1;
    };
    QApplication::setActiveWindow(&window);
    const int windowText = firstTextColumn(plain->RenderFrame());
    QApplication::setActiveWindow(&dialog);
    const int dialogText = firstTextColumn(dialogForm->RenderFrame());
    ASSERT_GT(windowText, 24);
    EXPECT_EQ(dialogText, windowText - 16);
}

TEST_F(WinSkinFormTest, Paint_DrawsTheFrameAroundTheWindowsOwnPainting) {
    QWidget window;
    window.resize(300, 200);
    window.show();
    ASSERT_NE(Skin(window), nullptr);
    QApplication::setActiveWindow(&window);
    const QImage shown = window.grab().toImage();
    EXPECT_EQ(Pixel(shown, 2, 100), kActiveEdge);
    EXPECT_EQ(Pixel(shown, 100, 10), kActiveTop);
}

TEST_F(WinSkinFormTest, FrameHitTest_CaptionBandsMenuAndClient) {
    const TSkinFrameSizes frame{kLeft, kCaption, kRight, kBottom, 20};
    const QSize size(300, 200);
    EXPECT_EQ(FrameHitTest(size, frame, true, {100, 10}), htCaption);
    EXPECT_EQ(FrameHitTest(size, frame, false, {100, 2}), htBorder);
    EXPECT_EQ(FrameHitTest(size, frame, true, {100, 2}), htTop);
    EXPECT_EQ(FrameHitTest(size, frame, true, {1, 1}), htTopLeft);
    EXPECT_EQ(FrameHitTest(size, frame, true, {298, 150}), htRight);
    EXPECT_EQ(FrameHitTest(size, frame, false, {298, 150}), htBorder);
    EXPECT_EQ(FrameHitTest(size, frame, true, {100, 30}), htMenu);
    EXPECT_EQ(FrameHitTest(size, frame, true, {100, 100}), htClient);
}

TEST_F(WinSkinFormTest, SkinWindow_AdmissionTests) {
    QWidget window;
    window.resize(300, 200);
    window.show();
    ASSERT_NE(Skin(window), nullptr);
    EXPECT_FALSE(windows_.SkinWindow(&window)) << "a second SkinWindow for the same window";
    EXPECT_EQ(windows_.Forms().size(), 1u);

    QWidget never;
    never.setProperty("Tag", 99);
    never.resize(100, 100);
    data_.DisableTag = 5;
    EXPECT_FALSE(windows_.SkinWindow(&never)) << "a form tagged 99";

    QWidget popup(nullptr, Qt::Popup);
    popup.resize(100, 100);
    EXPECT_FALSE(windows_.SkinWindow(&popup));
    QWidget child(&window);
    EXPECT_FALSE(windows_.SkinWindow(&child));

    QWidget later;
    later.resize(100, 100);
    manager_.SetSkinningOn(false);
    EXPECT_FALSE(windows_.SkinWindow(&later));
    manager_.SetSkinningOn(true);
    EXPECT_TRUE(windows_.SkinWindow(&later));
}

}  // namespace
}  // namespace vardo::test
