// A skinned window on the real X test bed under openbox, driven by real pointer and key input
// (XTest): it loses the window manager's frame and keeps its place, moves by its caption, closes
// by its close button or a double click on its icon, moves and resizes by the keyboard through its
// system menu, and gets its frame and client size back when skinning goes off. Message boxes and
// file dialogs, skinned as bare windows, answer the pointer as they do unskinned.
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <memory>

#include <X11/keysym.h>

#include "SkinFixture.h"
#include "WinSkinFrame.h"
#include "XTestKeys.h"
#include "XTestPointer.h"

namespace vardo::test {
namespace {

class WinSkinFormX11Test : public SkinFixture {
  protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), "xcb")
            << "needs the X test bed: run with DISPLAY and QT_QPA_PLATFORM=xcb";
        ASSERT_TRUE(pointer_.Available() && keys_.Available())
            << "the X server offers no XTest extension";
        SkinFixture::SetUp();
    }

    // A window shown unskinned under the window manager, framed and settled.
    std::unique_ptr<QWidget> FramedWindow() {
        manager_.SetSkinningOn(false);
        auto window = std::make_unique<QWidget>();
        window->setWindowTitle("skinned");
        window->resize(300, 200);
        window->move(200, 150);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        EXPECT_TRUE(SettleUntil([&] { return window->frameGeometry() != window->geometry(); }))
            << "openbox gave the window no frame";
        Settle(100);
        manager_.SetSkinningOn(true);
        return window;
    }

    // The skinned system menu, once it is open.
    static QMenu* OpenSystemMenu() {
        SettleUntil([] { return QApplication::activePopupWidget() != nullptr; });
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        return menu && menu->property("Tag").toInt() == 33333 ? menu : nullptr;
    }

    XTestPointer pointer_{Settle};
    XTestKeys keys_{Settle};
};

TEST_F(WinSkinFormX11Test, SkinnedWindow_MovesByItsCaptionMinimisesAndClosesByItsButtons) {
    const std::unique_ptr<QWidget> window = FramedWindow();
    const QRect framed = window->frameGeometry();
    TWinSkinForm* form = Skin(*window);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(SettleUntil([&] { return window->frameGeometry() == window->geometry(); }))
        << "the window manager's frame stayed";
    Settle(200);
    EXPECT_EQ(window->geometry(), framed) << "the skinned window takes the framed window's place";

    const QPoint grip = window->geometry().topLeft() + QPoint(60, kCaption / 2);
    pointer_.MoveTo(grip);
    pointer_.Button(true);
    for (int step = 1; step <= 10; ++step) pointer_.MoveTo(grip + QPoint(10 * step, 5 * step));
    pointer_.Button(false);
    EXPECT_TRUE(SettleUntil([&] { return window->pos() == framed.topLeft() + QPoint(100, 50); }))
        << "moved to " << window->pos().x() << "," << window->pos().y();

    const QPoint minimise = window->geometry().topLeft() + QPoint(window->width() - 57, 12);
    pointer_.Click(minimise);
    EXPECT_TRUE(SettleUntil([&] { return window->isMinimized(); })) << "not minimised";
    window->showNormal();
    ASSERT_TRUE(SettleUntil([&] { return !window->isMinimized() && window->isVisible(); }));
    Settle(200);

    const QPoint close = window->geometry().topLeft() + QPoint(window->width() - 13, 12);
    pointer_.Click(close);
    EXPECT_TRUE(SettleUntil([&] { return !window->isVisible(); }));
}

TEST_F(WinSkinFormX11Test, CaptionIcon_ClickOpensTheSystemMenu_DoubleClickClosesTheWindow) {
    const std::unique_ptr<QWidget> window = FramedWindow();
    TWinSkinForm* form = Skin(*window);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(SettleUntil([&] { return window->frameGeometry() == window->geometry(); }));
    Settle(200);
    const auto icon = std::find_if(
        form->CaptionButtons().begin(), form->CaptionButtons().end(), [&](const auto& button) {
            return button->Visible &&
                   IsSystemMenuAction(data_.Model().CaptionButtons[button->ElementIndex]->Action);
        });
    ASSERT_NE(icon, form->CaptionButtons().end());
    const QPoint onIcon = window->mapToGlobal((*icon)->Rect.center());

    pointer_.Click(onIcon);
    QMenu* menu = OpenSystemMenu();
    ASSERT_NE(menu, nullptr) << "a click on the icon opens the system menu";
    menu->hide();
    Settle(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100);
    ASSERT_TRUE(window->isVisible());

    pointer_.Click(onIcon);
    pointer_.Click(onIcon);
    EXPECT_TRUE(SettleUntil([&] { return !window->isVisible(); }))
        << "a double click on the icon closes the window";
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

// Move and Size of the system menu give a window without the window manager's frame the window
// manager's own keyboard move and resize: arrows, then Enter.
TEST_F(WinSkinFormX11Test, SystemMenuMoveAndSize_MoveAndResizeTheWindowByTheKeyboard) {
    const std::unique_ptr<QWidget> window = FramedWindow();
    TWinSkinForm* form = Skin(*window);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(SettleUntil([&] { return window->frameGeometry() == window->geometry(); }));
    window->activateWindow();
    ASSERT_TRUE(SettleUntil([&] { return window->isActiveWindow(); }));
    const QRect before = window->geometry();

    form->ShowSystemMenu(window->mapToGlobal(QPoint(20, 20)));
    ASSERT_NE(OpenSystemMenu(), nullptr);
    keys_.Chord({XK_m});
    Settle(200);
    for (int step = 0; step < 4; ++step) keys_.Chord({XK_Right});
    for (int step = 0; step < 3; ++step) keys_.Chord({XK_Down});
    keys_.Chord({XK_Return});
    EXPECT_TRUE(SettleUntil([&] {
        return window->x() > before.x() && window->y() > before.y() &&
               window->size() == before.size();
    })) << "moved to "
        << window->x() << "," << window->y();
    const QRect moved = window->geometry();

    form->ShowSystemMenu(window->mapToGlobal(QPoint(20, 20)));
    ASSERT_NE(OpenSystemMenu(), nullptr);
    keys_.Chord({XK_s});
    Settle(200);
    for (int step = 0; step < 4; ++step) keys_.Chord({XK_Right});
    for (int step = 0; step < 3; ++step) keys_.Chord({XK_Down});
    keys_.Chord({XK_Return});
    EXPECT_TRUE(SettleUntil([&] {
        return window->width() > moved.width() && window->height() > moved.height() &&
               window->pos() == moved.topLeft();
    })) << "sized to "
        << window->width() << "x" << window->height();
    EXPECT_FALSE(keys_.KeyboardGrabbed()) << "the window manager let go of the keyboard";
}

TEST_F(WinSkinFormX11Test, SwitchOff_GivesBackTheFrameTheClientSizeAndThePlace) {
    const std::unique_ptr<QWidget> window = FramedWindow();
    const QRect framed = window->frameGeometry();
    const QRect client = window->geometry();
    ASSERT_NE(Skin(*window), nullptr);
    ASSERT_TRUE(SettleUntil([&] { return window->frameGeometry() == window->geometry(); }));
    Settle(200);

    windows_.RunCommand(scSwitchOff, data_);
    EXPECT_TRUE(SettleUntil([&] { return window->frameGeometry() != window->geometry(); }))
        << "the window manager's frame did not come back";
    Settle(200);
    EXPECT_EQ(window->geometry(), client);
    EXPECT_EQ(window->frameGeometry(), framed);
}

TEST_F(WinSkinFormX11Test, MessageBox_AnswersItsSkinnedButtonsClosesAndComesBackAsItWas) {
    QMessageBox box(QMessageBox::Question, "skinned", "Proceed?",
                    QMessageBox::Ok | QMessageBox::Cancel);
    box.move(300, 200);
    manager_.SetSkinningOn(false);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    // The window's own frame margins: the widget's frame geometry may keep the size it had
    // before the window manager took the box on.
    const auto framedByTheWindowManager = [&] {
        return !box.windowHandle()->frameMargins().isNull();
    };
    ASSERT_TRUE(SettleUntil(framedByTheWindowManager));
    Settle(100);
    const QRect framed = box.windowHandle()->frameGeometry();
    const QRect client = box.geometry();
    manager_.SetSkinningOn(true);
    TWinSkinForm* form = Skin(box);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(SettleUntil([&] { return box.frameGeometry() == box.geometry(); }))
        << "the window manager's frame stayed";
    Settle(200);

    QAbstractButton* cancel = box.button(QMessageBox::Cancel);
    ASSERT_NE(form->ControlSkinner(cancel), nullptr);
    pointer_.Click(cancel->mapToGlobal(cancel->rect().center()));
    EXPECT_TRUE(SettleUntil([&] { return !box.isVisible(); }));
    EXPECT_EQ(box.clickedButton(), cancel);

    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    Settle(200);
    ASSERT_EQ(windows_.FormSkinner(&box), form) << "still skinned when shown again";
    pointer_.Click(box.geometry().topLeft() + QPoint(box.width() - 13, 12));
    EXPECT_TRUE(SettleUntil([&] { return !box.isVisible(); })) << "the close button";

    // Switched off while open, it gets the window manager's frame and its size back.
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    Settle(200);
    windows_.RunCommand(scSwitchOff, data_);
    EXPECT_TRUE(SettleUntil(framedByTheWindowManager))
        << "the window manager's frame did not come back";
    Settle(200);
    EXPECT_EQ(box.geometry().size(), client.size());
    EXPECT_EQ(box.windowHandle()->frameGeometry().size(), framed.size());
}

TEST_F(WinSkinFormX11Test, FileDialog_ChoosesAFileByADoubleClickInItsSkinnedList) {
    QTemporaryDir folder;
    QFile file(folder.filePath("daily.tab"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QFileDialog dialog(nullptr, "skinned", folder.path());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setViewMode(QFileDialog::List);
    dialog.setGeometry(200, 150, 600, 400);
    manager_.SetSkinningOn(false);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ASSERT_TRUE(SettleUntil([&] { return !dialog.windowHandle()->frameMargins().isNull(); }));
    Settle(100);
    manager_.SetSkinningOn(true);
    TWinSkinForm* form = Skin(dialog);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(SettleUntil([&] { return dialog.frameGeometry() == dialog.geometry(); }));
    auto* list = dialog.findChild<QListView*>("listView");
    ASSERT_NE(list, nullptr);
    EXPECT_NE(form->ControlSkinner(list), nullptr);
    QModelIndex index;
    ASSERT_TRUE(SettleUntil([&] {
        index = list->model()
                    ->match(list->model()->index(0, 0, list->rootIndex()), Qt::DisplayRole,
                            "daily.tab", 1, Qt::MatchExactly)
                    .value(0);
        return index.isValid();
    }));
    Settle(200);

    const QPoint at = list->viewport()->mapToGlobal(list->visualRect(index).center());
    pointer_.Click(at);
    pointer_.Click(at);
    EXPECT_TRUE(SettleUntil([&] { return !dialog.isVisible(); }));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.selectedFiles().value(0), folder.filePath("daily.tab"));
}

}  // namespace
}  // namespace vardo::test
