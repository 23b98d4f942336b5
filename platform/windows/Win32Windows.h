#pragma once

#include <deque>

#include "Windows.h"

namespace vardo::platform {

// Top-level windows and monitors of the desktop through the Win32 interfaces. A window handle is
// an HWND. Placements go straight to SetWindowPos, asynchronously, so a hung task never stalls
// the program; Windows has no window manager to ask. Windows shown, renamed and destroyed are
// watched with an out-of-context event hook whose calls arrive through the thread's message loop;
// they are queued there and handed to the listener from ProcessPendingEvents, which the event
// pump calls whenever the loop is about to wait. Use it from the thread that runs the loop.
class Win32Windows final : public Windows {
  public:
    Win32Windows() = default;
    ~Win32Windows() override;
    Win32Windows(const Win32Windows&) = delete;
    Win32Windows& operator=(const Win32Windows&) = delete;

    bool Available() const override { return true; }
    std::vector<TopLevelWindow> EnumWindows() override;
    std::optional<Rect> GetWindowRect(WindowHandle window) override;
    void MoveWindow(WindowHandle window, int left, int top) override;
    void MoveResizeWindow(WindowHandle window, const Rect& rect) override;
    void RaiseWindow(WindowHandle window) override;
    void HideWindow(WindowHandle window) override;
    std::vector<Rect> Monitors() override;

    // Starts the event hook; there is no descriptor to wait on.
    int EventDescriptor() override;
    void ProcessPendingEvents() override;
    void SetListener(WindowListener* listener) override { listener_ = listener; }

  private:
    enum class EventKind { Shown, Renamed, Destroyed };
    struct Event {
        EventKind kind;
        WindowHandle window;
    };
    static void __stdcall HookCall(void* hook, unsigned long event, void* window, long object,
                                   long child, unsigned long thread, unsigned long time);

    void* hook_ = nullptr;
    bool processing_ = false;
    WindowListener* listener_ = nullptr;
    std::deque<Event> pending_;
};

}  // namespace vardo::platform
