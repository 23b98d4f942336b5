#pragma once

class QWidget;

namespace vardo {

// The window manager's own keyboard move and resize of a top-level window (EWMH
// _NET_WM_MOVERESIZE, keyboard directions): the arrow keys move the window or its lower right
// corner, Enter keeps the result and Escape goes back. They stand in for the system menu's Move
// and Size on a window without the window manager's frame. False where the program does not run
// on X (nothing happens then).
bool StartKeyboardMove(QWidget& window);
bool StartKeyboardResize(QWidget& window);

}  // namespace vardo
