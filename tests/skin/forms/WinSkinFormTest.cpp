#include <QCursor>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "SkinFixture.h"

namespace vardo::test {
namespace {

class WinSkinFormTest : public SkinFixture {
  protected:
    // Shows window, skinned and active, beside another window it can lose the activation to;
    // null when it could not be skinned or activated.
    TWinSkinForm* SkinActiveBesideAnother(QWidget& window, QWidget& other) {
        window.setGeometry(100, 100, 300, 200);
        other.setGeometry(600, 100, 100, 100);
        other.show();
        window.show();
        TWinSkinForm* form = Skin(window);
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window) ? form : nullptr;
    }
};

// A dialog of the program's own: a form, not a bare window.
class ProgramDialog : public QDialog {
    Q_OBJECT
};

// The face and its text in a skin's colours.
const QColor kFace{90, 60, 30};
const QColor kFaceText{250, 240, 10};
const std::string kFaceColours = "[Colours]\r\nButtonFace=90 60 30\r\nWindowText=250 240 10\r\n";

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
    ProgramDialog dialog;
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

TEST_F(WinSkinFormTest, MessageBox_TakesTheSkinsFaceAndButtonsAnswersEnterAndComesBackAsItWas) {
    LoadSkin(TestSkinFile({}, kFaceColours));
    QMessageBox box(QMessageBox::Question, "Title", "Proceed?",
                    QMessageBox::Ok | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Ok);
    box.show();
    const QSize size = box.size();
    const QPalette palette = box.palette();
    TWinSkinForm* form = Skin(box);
    ASSERT_NE(form, nullptr);
    QApplication::setActiveWindow(&box);

    EXPECT_TRUE(form->Class().StandardDialog);
    EXPECT_EQ(form->Class().BorderKind, bkDialog);
    EXPECT_FALSE(ButtonWithAction(*form, data_, 3)->Visible) << "no icon on a dialog border";
    EXPECT_EQ(box.size(), size.grownBy(QMargins(kLeft, kCaption, kRight, kBottom)));
    const QImage shown = box.grab().toImage();
    const QRect client = form->ClientRect();
    EXPECT_EQ(Pixel(shown, client.left() + 1, client.bottom() - 1), kFace);
    EXPECT_EQ(Pixel(shown, 2, 40), kActiveEdge);
    const auto* label = box.findChild<QLabel*>("qt_msgbox_label");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), kFaceText);
    EXPECT_EQ(form->ControlSkinner(label), nullptr) << "labels keep their own painting";
    QAbstractButton* ok = box.button(QMessageBox::Ok);
    ASSERT_NE(form->ControlSkinner(ok), nullptr);
    const QPoint inOk = ok->mapTo(&box, QPoint(4, ok->height() / 2));
    EXPECT_NE(
        std::find(kButtonFrames.begin(), kButtonFrames.end(), Pixel(shown, inOk.x(), inOk.y())),
        kButtonFrames.end());

    windows_.RunCommand(scSwitchOff, data_);
    EXPECT_FALSE(box.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(box.size(), size);
    EXPECT_EQ(box.palette(), palette);
    EXPECT_FALSE(AnswersSkinned(ok));

    ASSERT_NE(Skin(box), nullptr);
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.clickedButton(), ok);
    EXPECT_FALSE(box.isVisible());
}

TEST_F(WinSkinFormTest, DialogComponent_SkinsTheBareWindowsAndTheMainOneTheForms) {
    TSkinData dialogs(nullptr, &manager_);
    dialogs.SkinFormtype = sfDialog;
    dialogs.Loaded();
    LoadSkin(TestSkinFile({}, kFaceColours));
    dialogs.SetSkinFile(folder_.filePath("test.skn"));
    LoadSkin(TestSkinFile());
    ASSERT_TRUE(dialogs.SkinReady());

    QMessageBox box(QMessageBox::Information, "Title", "text");
    ProgramDialog form;
    for (QWidget* w : {static_cast<QWidget*>(&box), static_cast<QWidget*>(&form)}) {
        w->resize(300, 200);
        w->show();
    }
    ASSERT_TRUE(Skin(box) && Skin(form));
    EXPECT_EQ(&windows_.FormSkinner(&box)->SkinData(), &dialogs);
    EXPECT_EQ(box.palette().color(QPalette::Window), kFace);
    EXPECT_EQ(&windows_.FormSkinner(&form)->SkinData(), &data_);
}

// Typing a name and a double click in the list are tested on the program's prompts and under the
// window manager.
TEST_F(WinSkinFormTest, FileDialog_SkinsItsViewsButtonsAndEditAndGivesBackItsSize) {
    QFileDialog dialog(nullptr, "Open", QDir::tempPath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.resize(640, 420);
    dialog.show();
    const QSize size = dialog.size();
    const QSize outer = dialog.frameGeometry().size();
    TWinSkinForm* form = Skin(dialog);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(dialog.size(), outer) << "a resizable dialog keeps its outer size";
    auto* list = dialog.findChild<QListView*>("listView");
    auto* edit = dialog.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_TRUE(list && edit);
    EXPECT_NE(form->ControlSkinner(list), nullptr) << "the list's scroll bars";
    EXPECT_NE(form->ControlSkinner(edit), nullptr);
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        EXPECT_NE(form->ControlSkinner(button), nullptr) << button->text().toStdString();
    }
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        EXPECT_EQ(form->ControlSkinner(label), nullptr);
    }

    windows_.RunCommand(scSwitchOff, data_);
    EXPECT_EQ(dialog.size(), size);
    EXPECT_FALSE(AnswersSkinned(list));
}

TEST_F(WinSkinFormTest, Command7_ReskinsOneWindowWithoutTellingOfASkinChange) {
    int changes = 0;
    data_.OnSkinChanged = [&] { ++changes; };
    QWidget window;
    QWidget other;
    for (QWidget* w : {&window, &other}) {
        w->resize(300, 200);
        w->show();
    }
    const QPointer<TWinSkinForm> first = Skin(window);
    TWinSkinForm* kept = Skin(other);
    ASSERT_TRUE(first && kept);

    manager_.Command(scReskin, 0, data_, &window);
    ASSERT_TRUE(SettleUntil([&] { return !manager_.CommandTimerActive(); }));
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(first.isNull()) << "the old skinner is gone";
    TWinSkinForm* again = windows_.FormSkinner(&window);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->SkinState(), TWinSkinForm::ssActive);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(windows_.FormSkinner(&other), kept);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(manager_.PendingCommand(), scNone);

    manager_.Command(scReload, 0, data_);
    ASSERT_TRUE(SettleUntil([&] { return !manager_.CommandTimerActive(); }));
    EXPECT_EQ(changes, 1);
}

TEST_F(WinSkinFormTest, OutsideRequests_PaintTheFrameIntoAGivenPainterAndAnswerPresence) {
    QWidget window;
    window.resize(300, 200);
    window.show();
    ASSERT_NE(Skin(window), nullptr);
    QApplication::setActiveWindow(&window);

    QImage image(window.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    SkinPaintEvent request(kSkinPaintBars, painter);
    QCoreApplication::sendEvent(&window, &request);
    painter.end();
    EXPECT_EQ(request.Result(), kOutsidePaintKey);
    EXPECT_EQ(Pixel(image, 2, 100), kActiveEdge);
    EXPECT_EQ(Pixel(image, 100, 10), kActiveTop);
    EXPECT_EQ(Pixel(image, window.width() - 13, 12), kCloseNormal);
    EXPECT_EQ(Pixel(image, 100, 100), QColor(Qt::black)) << "the client area is not the frame's";
    EXPECT_EQ(SendSkinEvent(&window, kSkinPaintBars, 0, kOutsidePaintKey), kOutsidePaintKey)
        << "without a device only the answer";
    EXPECT_EQ(SendSkinEvent(&window, kSkinPaintBars, 0, 1), 0) << "without the key no answer";

    EXPECT_EQ(SendSkinEvent(&window, kSkinPresence, 0, kOutsidePaintKey), kOutsidePaintKey);
    EXPECT_EQ(SendSkinEvent(&window, kSkinPresence), 1);
    windows_.RunCommand(scSwitchOff, data_);
    EXPECT_EQ(SendSkinEvent(&window, kSkinPresence, 0, kOutsidePaintKey), 0);
}

TEST_F(WinSkinFormTest, FrameTimer_RunsWhileActiveAndCoolsAButtonThePointerLeftUnnoticed) {
    QWidget window;
    QWidget other;
    TWinSkinForm* form = SkinActiveBesideAnother(window, other);
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->TimerRunning());
    const TWinSysButton* close = ButtonWithAction(*form, data_, 0);

    // From elsewhere: a move to where the pointer already is tells nothing.
    QCursor::setPos(0, 0);
    QCursor::setPos(window.mapToGlobal(QPoint(window.width() - 13, 12)));
    QCoreApplication::processEvents();
    ASSERT_TRUE(SettleUntil([&] { return close->State == TNCObject::sHot; }));
    QTest::qWait(300);
    EXPECT_EQ(close->State, TNCObject::sHot) << "the pointer is still on it";
    // The window moves away from under the pointer: no event tells the button.
    window.move(window.pos() + QPoint(0, 100));
    EXPECT_TRUE(SettleUntil([&] { return close->State == TNCObject::sNormal; }));

    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(form->TimerRunning());
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_TRUE(form->TimerRunning());
}

// Keeps every event from the window, as when the window system leaves a frameless window untold
// of an activation change and nothing else happens to it: only the frame's timer looks.
class Untold : public QObject {
  protected:
    bool eventFilter(QObject*, QEvent*) override { return true; }
};

TEST_F(WinSkinFormTest, SkinLoadedBeforeItsReload_FrameUsesNothingOfTheModelItReplaced) {
    QWidget window;
    QWidget other;
    TWinSkinForm* form = SkinActiveBesideAnother(window, other);
    ASSERT_NE(form, nullptr);
    ASSERT_FALSE(form->RenderFrame().isNull());

    // Each load frees the model before; a later one may be given its place in memory.
    for (int load = 0; load < 4; ++load) {
        ASSERT_TRUE(data_.LoadSkin());
        EXPECT_TRUE(form->RenderFrame().isNull()) << "load " << load << " is not read yet";
    }

    // The timer notices the window's deactivation before anything has reloaded the skin.
    Untold untold;
    window.installEventFilter(&untold);
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QTest::qWait(400);
    window.removeEventFilter(&untold);
    ASSERT_TRUE(SettleUntil([&] { return !form->RenderFrame().isNull(); }))
        << "the reload reads the new model";
    EXPECT_EQ(Pixel(form->RenderFrame(), 2, 100), kInactiveEdge);
    EXPECT_EQ(Pixel(form->RenderFrame(), window.width() - 13, 12), kCloseNormal);
}

// A skin of only the given ini text and images.
std::string SkinOf(const std::string& ini, const SkinImages& images) {
    return SkinFileBytes("[TitlebarSkin]\r\nSkinName=Gaps\r\n" + ini, images);
}

TEST_F(WinSkinFormTest, SkinWithoutEdgesOrCloseButton_LeavesTheWindowManagersFrame) {
    const SkinImages edges{{"left.bmp", Frames({kLeft, 30}, {kActiveEdge}, false)},
                           {"right.bmp", Frames({kRight, 30}, {kActiveEdge}, false)},
                           {"top.bmp", Frames({60, kCaption}, {kActiveTop}, true)},
                           {"bottom.bmp", Frames({60, kBottom}, {kActiveEdge}, true)},
                           {"buttons.bmp", Frames({20, 20}, kButtonFrames, false)}};
    const std::string edgeIni =
        "[Personality]\r\nLeft=left.bmp\r\nRight=right.bmp\r\nTop=top.bmp\r\n"
        "Bottom=bottom.bmp\r\n[Buttons]\r\nBitmap=buttons.bmp\r\n";
    LoadSkin(SkinOf(edgeIni, edges));
    const TSkinGaps noClose = SkinGapsOf(data_.Model());
    EXPECT_TRUE(noClose.CloseButton && !noClose.Edges && !noClose.Buttons);

    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* button = new QPushButton("OK");
    layout->addWidget(button);
    window.resize(300, 200);
    window.show();
    TWinSkinForm* form = Skin(window);
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->FrameSkinned());
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::FramelessWindowHint))
        << "the window keeps the window manager's frame and its close button";
    EXPECT_EQ(window.size(), QSize(300, 200));
    EXPECT_NE(form->ControlSkinner(button), nullptr) << "the controls are skinned all the same";

    // A complete skin brings the skinned frame; one without edges takes it away again.
    LoadSkin(TestSkinFile());
    windows_.RunCommand(scReload, data_);
    EXPECT_TRUE(form->FrameSkinned());
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    LoadSkin(SkinOf("[Buttons]\r\nBitmap=buttons.bmp\r\n", edges));
    EXPECT_TRUE(SkinGapsOf(data_.Model()).Edges);
    windows_.RunCommand(scReload, data_);
    EXPECT_FALSE(form->FrameSkinned());
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(window.size(), QSize(300, 200));
    EXPECT_TRUE(form->CaptionButtons().empty());
    EXPECT_NE(form->ControlSkinner(button), nullptr);
    window.close();
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace vardo::test

#include "WinSkinFormTest.moc"
