// The system menu's Move and Size of a skinned (frameless) window: the system's own keyboard loop
// on the native window, driven by keyboard input the operator would type once it runs.
#include "WindowManagerMoves.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QWidget>
#include <initializer_list>
#include <thread>
#include <vector>

#include <windows.h>

namespace vardo {
namespace {

class KeyboardMoveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        window_.setGeometry(300, 300, 320, 200);
        window_.show();
        window_.activateWindow();
        handle_ = reinterpret_cast<HWND>(window_.winId());
        ::SetForegroundWindow(handle_);
        QCoreApplication::processEvents();
        before_ = NativeRect();
    }

    RECT NativeRect() const {
        RECT rect{};
        ::GetWindowRect(handle_, &rect);
        return rect;
    }

    // Typed once the command's loop runs (it takes the keyboard from the event loop, which waits
    // for it to end), as system input to the active window.
    void Type(std::initializer_list<WORD> keys) {
        const std::vector<WORD> typed(keys);
        typist_ = std::thread([typed] {
            ::Sleep(300);
            for (const WORD key : typed) {
                INPUT input[2] = {};
                input[0].type = input[1].type = INPUT_KEYBOARD;
                input[0].ki.wVk = input[1].ki.wVk = key;
                input[1].ki.dwFlags = KEYEVENTF_KEYUP;
                ::SendInput(2, input, sizeof(INPUT));
                ::Sleep(40);
            }
        });
    }

    // Starts the command, types the keys while its loop runs, and gives the window's place once
    // the typing is done and the window has settled.
    RECT Drive(bool (*start)(QWidget&), std::initializer_list<WORD> keys) {
        EXPECT_TRUE(start(window_));
        Type(keys);
        const QDeadlineTimer deadline(1500);
        while (!deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        typist_.join();
        QCoreApplication::processEvents();
        return NativeRect();
    }

    QWidget window_;
    HWND handle_ = nullptr;
    RECT before_{};
    std::thread typist_;
};

TEST_F(KeyboardMoveTest, Move_TheArrowsMoveTheWindow_AndEnterKeepsItThere) {
    const RECT after = Drive(StartKeyboardMove, {VK_RIGHT, VK_RIGHT, VK_DOWN, VK_RETURN});
    EXPECT_GT(after.left, before_.left);
    EXPECT_GT(after.top, before_.top);
    EXPECT_EQ(after.right - after.left, before_.right - before_.left);
    EXPECT_EQ(after.bottom - after.top, before_.bottom - before_.top);
    // Qt follows the native window.
    EXPECT_EQ(window_.frameGeometry().topLeft(), QPoint(after.left, after.top));
}

TEST_F(KeyboardMoveTest, Move_EscapePutsTheWindowBack) {
    const RECT after = Drive(StartKeyboardMove, {VK_LEFT, VK_LEFT, VK_UP, VK_ESCAPE});
    EXPECT_EQ(after.left, before_.left);
    EXPECT_EQ(after.top, before_.top);
}

// The first arrow picks the edge that the following ones move.
TEST_F(KeyboardMoveTest, Size_TheArrowsMoveTheEdgeTheFirstOnePicked) {
    const RECT after = Drive(StartKeyboardResize, {VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RETURN});
    EXPECT_EQ(after.left, before_.left);
    EXPECT_EQ(after.top, before_.top);
    EXPECT_EQ(after.bottom, before_.bottom);
    EXPECT_GT(after.right, before_.right);
}

TEST(KeyboardMoveWithoutWindowTest, AChildOrAnUnshownWidget_IsRefused) {
    QWidget unshown;
    EXPECT_FALSE(StartKeyboardMove(unshown));
    QWidget parent;
    QWidget* child = new QWidget(&parent);
    parent.show();
    EXPECT_FALSE(StartKeyboardResize(*child));
}

}  // namespace
}  // namespace vardo
