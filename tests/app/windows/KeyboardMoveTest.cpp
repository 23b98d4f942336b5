// The system menu's Move and Size of a skinned (frameless) window: the system's own keyboard loop
// on the native window, driven by the keys it reads from the window's queue.
#include "WindowManagerMoves.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QWidget>
#include <initializer_list>

#include <windows.h>

namespace vardo {
namespace {

class KeyboardMoveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        window_.setGeometry(300, 300, 320, 200);
        window_.show();
        handle_ = reinterpret_cast<HWND>(window_.winId());
        QCoreApplication::processEvents();
        before_ = NativeRect();
    }

    RECT NativeRect() const {
        RECT rect{};
        ::GetWindowRect(handle_, &rect);
        return rect;
    }

    // Queued behind the command, as the operator's keys would be: the loop reads them.
    void Press(std::initializer_list<WPARAM> keys) {
        for (const WPARAM key : keys) {
            ::PostMessageW(handle_, WM_KEYDOWN, key, 1);
            ::PostMessageW(handle_, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
        }
    }

    // Runs the event loop until the loop of the command has ended and the window stands still.
    void Settle() {
        const QDeadlineTimer deadline(500);
        while (!deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            ::Sleep(10);
        }
    }

    QWidget window_;
    HWND handle_ = nullptr;
    RECT before_{};
};

TEST_F(KeyboardMoveTest, Move_TheArrowsMoveTheWindow_AndEnterKeepsItThere) {
    ASSERT_TRUE(StartKeyboardMove(window_));
    Press({VK_RIGHT, VK_RIGHT, VK_DOWN, VK_RETURN});
    Settle();
    const RECT after = NativeRect();
    EXPECT_GT(after.left, before_.left);
    EXPECT_GT(after.top, before_.top);
    EXPECT_EQ(after.right - after.left, before_.right - before_.left);
    EXPECT_EQ(after.bottom - after.top, before_.bottom - before_.top);
    // Qt follows the native window.
    EXPECT_EQ(window_.frameGeometry().topLeft(), QPoint(after.left, after.top));
}

TEST_F(KeyboardMoveTest, Move_EscapePutsTheWindowBack) {
    ASSERT_TRUE(StartKeyboardMove(window_));
    Press({VK_LEFT, VK_LEFT, VK_UP, VK_ESCAPE});
    Settle();
    const RECT after = NativeRect();
    EXPECT_EQ(after.left, before_.left);
    EXPECT_EQ(after.top, before_.top);
}

TEST_F(KeyboardMoveTest, Size_TheArrowsMoveTheLowerRightCorner) {
    ASSERT_TRUE(StartKeyboardResize(window_));
    Press({VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    Settle();
    const RECT after = NativeRect();
    EXPECT_EQ(after.left, before_.left);
    EXPECT_EQ(after.top, before_.top);
    EXPECT_GT(after.right, before_.right);
    EXPECT_GT(after.bottom, before_.bottom);
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
