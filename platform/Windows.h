#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vardo::platform {

// An X window id of a top-level client window (never a window manager frame). 0 means none.
using WindowHandle = std::uint64_t;

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct TopLevelWindow {
    WindowHandle window = 0;
    int processId = 0;    // 0 when the owning process cannot be told
    std::string caption;  // UTF-8, cut at 255 characters
};

// Top-level windows and monitors as the task runner needs them. Implemented for real by
// X11Windows; tests of pure row logic may substitute a fake.
class Windows {
  public:
    virtual ~Windows() = default;

    // False when no X display can be reached (for example a Wayland session without XWayland),
    // or once the connection to it has been lost; every other call then does nothing.
    virtual bool Available() const = 0;
    // Every top-level client window, mapped or not, of every process, in stacking order, top first.
    virtual std::vector<TopLevelWindow> EnumWindows() = 0;
    // Outer rectangle in root coordinates, frame included.
    virtual std::optional<Rect> GetWindowRect(WindowHandle window) = 0;
    // Moves the outer rectangle's top-left corner to (left, top), keeping the size.
    virtual void MoveWindow(WindowHandle window, int left, int top) = 0;
    // Moves and resizes so that the outer rectangle becomes `rect`.
    virtual void MoveResizeWindow(WindowHandle window, const Rect& rect) = 0;
    virtual void RaiseWindow(WindowHandle window) = 0;
    // Withdraws the window: really unmapped, still found by EnumWindows.
    virtual void HideWindow(WindowHandle window) = 0;
    // Full bounds of every monitor in the server's order; one monitor covering the root window
    // when the server reports none.
    virtual std::vector<Rect> Monitors() = 0;
};

}  // namespace vardo::platform
