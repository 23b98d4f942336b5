#pragma once

class QWidget;

namespace vardo {

// The system's own keyboard move and resize of a top-level window: the arrow keys move the window
// or its lower right corner, Enter keeps the result and Escape goes back. On X the window
// manager's (EWMH _NET_WM_MOVERESIZE, keyboard directions), standing in for the system menu's Move
// and Size on a window without the window manager's frame; on Windows the system menu's own
// (WM_SYSCOMMAND), where the first arrow of a resize picks the edge the others move. False for a widget that is no shown top-level window, or where the program
// does not run on X on Linux (nothing happens then).
bool StartKeyboardMove(QWidget& window);
bool StartKeyboardResize(QWidget& window);

}  // namespace vardo
