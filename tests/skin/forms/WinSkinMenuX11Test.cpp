// Keyboard entry into a skinned window's menus on the real X test bed under openbox in its stock
// configuration, with real key presses (XTest): real Alt modifiers, the keyboard grab of a real
// popup, the window getting its activation back when a menu closes, a focused edit that would take
// a stray letter, a mouse release that reached no window, and the keys the desktop owns.
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <X11/keysym.h>

#include "SkinFixture.h"
#include "WinSkinMenu.h"
#include "XTestKeys.h"
#include "XTestPointer.h"

namespace vardo::test {
namespace {

class WinSkinMenuX11Test : public SkinFixture {
  protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), "xcb")
            << "needs the X test bed: run with DISPLAY and QT_QPA_PLATFORM=xcb";
        ASSERT_TRUE(keys_.Available()) << "the X server offers no XTest extension";
        SkinFixture::SetUp();
    }

    // Escape closes the open menu and the window is active again.
    void Escape(TWinSkinMenu& bar, QWidget& window) {
        keys_.Chord({XK_Escape});
        ASSERT_TRUE(SettleUntil([&] {
            return !bar.OpenedMenu() && !QApplication::activePopupWidget() &&
                   window.isActiveWindow();
        })) << "the menu stayed open or the window inactive";
    }

    XTestKeys keys_{Settle};
    XTestPointer pointer_{Settle};
};

TEST_F(WinSkinMenuX11Test,
       RealKeys_OpenTheBarMenus_LeaveAltSpaceToTheDesktopAndLettersToTheWindow) {
    QMainWindow window;
    QMenu* file = window.menuBar()->addMenu("&File");
    file->addAction("Open");
    file->addAction("Save");
    QMenu* view = window.menuBar()->addMenu("&View");
    view->addAction("Grid");
    auto* edit = new QLineEdit;
    window.setCentralWidget(edit);
    window.resize(400, 300);
    window.move(200, 150);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    TWinSkinForm* form = Skin(window);
    ASSERT_NE(form, nullptr);
    TWinSkinMenu* bar = form->Menu();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(SettleUntil([&] { return window.frameGeometry() == window.geometry(); }));

    // A window that goes away on a press: its release reaches no window, and Qt believes the
    // button held until the next mouse event. The keys must work all the same.
    QPushButton vanishing("vanishing");
    vanishing.setGeometry(700, 150, 120, 60);
    QObject::connect(&vanishing, &QPushButton::pressed, &vanishing, &QWidget::hide);
    vanishing.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&vanishing));
    Settle(100);
    pointer_.Click(vanishing.geometry().center());
    ASSERT_TRUE(SettleUntil([&] { return !vanishing.isVisible(); }));

    window.activateWindow();
    edit->setFocus();
    ASSERT_TRUE(SettleUntil([&] { return window.isActiveWindow() && edit->hasFocus(); }));

    keys_.Chord({XK_Alt_L, XK_v});
    EXPECT_TRUE(SettleUntil([&] {
        return bar->OpenedMenu() == view && view->activeAction() == view->actions()[0];
    })) << "Alt+V opens \"&View\" with its first item selected";
    EXPECT_EQ(edit->text(), "") << "the letter did not reach the focused edit";
    keys_.Chord({XK_Right});
    EXPECT_TRUE(SettleUntil([&] { return bar->OpenedMenu() == file; })) << "past the last";
    Escape(*bar, window);

    keys_.Chord({XK_F10});
    EXPECT_TRUE(SettleUntil([&] { return bar->OpenedMenu() == file; })) << "F10";
    QSignalSpy opened(file->actions()[0], &QAction::triggered);
    keys_.Chord({XK_Return});
    EXPECT_TRUE(SettleUntil([&] { return opened.count() == 1 && !bar->OpenedMenu(); }))
        << "Enter chooses the selected first item and ends the menu";
    EXPECT_TRUE(SettleUntil([&] { return window.isActiveWindow(); }));
    keys_.Chord({XK_Alt_L});
    EXPECT_TRUE(SettleUntil([&] { return bar->OpenedMenu() == file; })) << "Alt alone";
    Escape(*bar, window);

    // Alt+Space is the window manager's window menu on this desktop: its menu takes the keyboard
    // and the skinned system menu stays shut.
    keys_.Chord({XK_Alt_L, XK_space});
    EXPECT_TRUE(SettleUntil([&] { return keys_.KeyboardGrabbed(); }))
        << "the window manager's menu did not open";
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    keys_.Chord({XK_Escape});
    ASSERT_TRUE(SettleUntil([&] { return !keys_.KeyboardGrabbed() && window.isActiveWindow(); }))
        << "the window manager's menu stayed open or the window inactive";
    edit->setFocus();

    keys_.Chord({XK_Alt_L, XK_z});
    Settle(200);
    EXPECT_EQ(bar->OpenedMenu(), nullptr) << "a letter of no button opens nothing";
    EXPECT_EQ(edit->text(), "z") << "a letter of no button goes on to the focused edit";
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

}  // namespace
}  // namespace vardo::test
