#include "WindowManagerMoves.h"

#include <QWidget>

#include <windows.h>

namespace vardo {

namespace {

// The system menu's own Move and Size: the window's procedure runs the system's keyboard loop
// (the arrow keys move the window or its lower right corner, Enter keeps the result, Escape goes
// back). Posted, not sent: the loop is modal, and the menu that asked returns first.
bool PostSystemCommand(QWidget& window, WPARAM command) {
    if (!window.isWindow() || !window.windowHandle()) return false;
    const auto handle = reinterpret_cast<HWND>(window.winId());
    return ::PostMessageW(handle, WM_SYSCOMMAND, command, 0) != 0;
}

}  // namespace

bool StartKeyboardMove(QWidget& window) {
    return PostSystemCommand(window, SC_MOVE);
}

bool StartKeyboardResize(QWidget& window) {
    return PostSystemCommand(window, SC_SIZE);
}

}  // namespace vardo
