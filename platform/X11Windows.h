#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <unordered_map>

#include "Windows.h"

struct _XDisplay;

namespace vardo::platform {

// Windows and monitors of an X server, through a connection of its own (independent of the
// toolkit's, so it also works while Qt runs offscreen). Under a reparenting window manager the
// windows handed out are the clients inside the frames; rectangles are outer rectangles, frame
// included. Placements go through the window manager (EWMH) when one runs and manages the
// window, and straight to the server otherwise; every call returns once its effect is visible
// to the next query (or a short wait for the window manager has run out). X errors caused by
// windows that vanish meanwhile are swallowed; a server that goes away does not end the program
// (Xlib's default), it makes the object unavailable. Use it from one thread.
class X11Windows final : public Windows {
  public:
    // Connects to displayName, or to $DISPLAY when it is empty.
    explicit X11Windows(const std::string& displayName = {});
    ~X11Windows() override;
    X11Windows(const X11Windows&) = delete;
    X11Windows& operator=(const X11Windows&) = delete;

    bool Available() const override;
    std::vector<TopLevelWindow> EnumWindows() override;
    std::optional<Rect> GetWindowRect(WindowHandle window) override;
    void MoveWindow(WindowHandle window, int left, int top) override;
    void MoveResizeWindow(WindowHandle window, const Rect& rect) override;
    void RaiseWindow(WindowHandle window) override;
    void HideWindow(WindowHandle window) override;
    std::vector<Rect> Monitors() override;

    // Whether a window manager currently owns the screen (the WM_Sn selection).
    bool WindowManagerRunning();

  private:
    struct Atoms {
        unsigned long wmState = 0;
        unsigned long wmName = 0;
        unsigned long netWmName = 0;
        unsigned long utf8String = 0;
        unsigned long netWmPid = 0;
        unsigned long netMoveResizeWindow = 0;
        unsigned long netFrameExtents = 0;
        unsigned long netActiveWindow = 0;
        unsigned long netRequestFrameExtents = 0;
        unsigned long netSupported = 0;
        unsigned long windowManagerSelection = 0;
    };

    // Which connection made a window, and the process behind each connection.
    struct ClientProcesses {
        unsigned long resourceMask = 0;  // 0 when the server cannot tell
        std::unordered_map<unsigned long, int> processOfClient;
        bool SameClient(WindowHandle a, WindowHandle b) const;
    };

    bool IsManaged(WindowHandle window);
    std::vector<WindowHandle> ChildrenTopFirst(WindowHandle window);
    WindowHandle ClientInFrame(WindowHandle frame, const ClientProcesses& clients);
    WindowHandle ClientCarryingWmState(WindowHandle window);
    bool HasWmState(WindowHandle window);
    WindowHandle TopLevelAncestor(WindowHandle window);
    std::string Caption(WindowHandle window);
    ClientProcesses QueryClientProcesses();
    int ProcessOf(WindowHandle window, const ClientProcesses& clients);
    void Place(WindowHandle window, const Rect& rect, bool resize);
    bool ConfigureUntilPlaced(WindowHandle window, const Rect& rect, bool resize,
                              bool windowManagerRunning);
    void RequestUntilPlaced(WindowHandle window, const Rect& rect, bool resize);
    void RequestPlacement(WindowHandle window, const Rect& rect, bool resize);
    void ConfigureDirectly(WindowHandle window, const Rect& rect, bool resize);
    void SendToWindowManager(WindowHandle window, unsigned long type,
                             const std::array<long, 5>& data);
    bool WaitForPlacement(WindowHandle window, const Rect& rect, bool resize,
                          const std::optional<Rect>& before, std::chrono::milliseconds timeout);
    void WaitForWindowManager();

    _XDisplay* display_ = nullptr;
    bool connectionLost_ = false;  // set by Xlib when the server went away
    WindowHandle barrier_ = 0;     // never mapped; see WaitForWindowManager
    Atoms atoms_;
};

}  // namespace vardo::platform
