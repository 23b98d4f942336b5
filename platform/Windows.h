#pragma once

#include <chrono>
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

// What a top-level window is to its program.
enum class WindowRole {
    Main,              // managed, transient for no window, of type normal or of no type
    Dialog,            // managed, transient for no window, of type dialog: a prompt's own window
    Secondary,         // managed: a tool window, a splash or anything transient
    OverrideRedirect,  // unmanaged: menus, tooltips, drop-down lists; some full-screen players
};

struct TopLevelWindow {
    WindowHandle window = 0;
    int processId = 0;      // 0 when the owning process cannot be told
    std::string caption;    // UTF-8, cut at 255 characters
    bool viewable = false;  // mapped and shown (inside its frame, under a window manager)
    WindowRole role = WindowRole::Main;
};

// Told about top-level windows as they show. Called on the thread that processes the events.
class WindowListener {
  public:
    virtual ~WindowListener() = default;
    // A top-level client window has become viewable, or the caption or process of a viewable
    // one has changed. May place the window (the calls below) from inside.
    virtual void WindowViewable(const TopLevelWindow& window) = 0;
    // A top-level window has been destroyed (its id may be given to a new window later).
    virtual void WindowDestroyed(WindowHandle /*window*/) {}
};

// Top-level windows and monitors as the task runner needs them. Implemented for real in each
// system's folder (X11Windows on Linux); tests of pure row logic may substitute a fake.
//
// Placements (MoveWindow, MoveResizeWindow, HideWindow) are asked for and carried out in the
// background: the call returns at once, the implementation follows the window manager's answers
// as events, asks again when a request is lost, and for a while afterwards puts the window back
// when its client moves, resizes or shows it again. Nothing waits for the window manager.
class Windows {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~Windows() = default;

    // False when no X display can be reached (for example a Wayland session without XWayland),
    // or once the connection to it has been lost; every other call then does nothing.
    virtual bool Available() const = 0;
    // Whether a task may show windows that this object cannot see: native windows of a Wayland
    // session, beside the X server the object sees.
    virtual bool MayMissTaskWindows() const { return false; }
    // Every top-level client window, mapped or not, of every process, in stacking order, top
    // first; override-redirect windows included.
    virtual std::vector<TopLevelWindow> EnumWindows() = 0;
    // Outer rectangle in root coordinates, frame included.
    virtual std::optional<Rect> GetWindowRect(WindowHandle window) = 0;
    // Moves the outer rectangle's top-left corner to (left, top), keeping the size.
    virtual void MoveWindow(WindowHandle window, int left, int top) = 0;
    // Moves and resizes so that the outer rectangle becomes `rect`.
    virtual void MoveResizeWindow(WindowHandle window, const Rect& rect) = 0;
    virtual void RaiseWindow(WindowHandle window) = 0;
    // Withdraws the window: really unmapped, still found by EnumWindows. A move asked for after
    // this is carried out on the withdrawn window, unseen.
    virtual void HideWindow(WindowHandle window) = 0;
    // Full bounds of every monitor in the server's order; one monitor covering the root window
    // when the server reports none.
    virtual std::vector<Rect> Monitors() = 0;

    // The event side, for an event loop: a descriptor that becomes readable when events wait
    // (-1 when there is none; asking for it starts the watch), the call that handles them (and
    // every placement step that has fallen due), and when the next placement step falls due
    // without an event.
    virtual int EventDescriptor() { return -1; }
    virtual void ProcessPendingEvents() {}
    virtual std::optional<TimePoint> NextDeadline() const { return std::nullopt; }
    // The listener told from ProcessPendingEvents; nullptr for none.
    virtual void SetListener(WindowListener* /*listener*/) {}
};

}  // namespace vardo::platform
