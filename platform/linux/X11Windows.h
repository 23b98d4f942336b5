#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "Windows.h"

struct _XDisplay;
union _XEvent;

namespace vardo::platform {

// Windows and monitors of an X server, through a connection of its own (independent of the
// toolkit's, so it also works while Qt runs offscreen). Under a reparenting window manager the
// windows handed out are the clients inside the frames; rectangles are outer rectangles, frame
// included as it is seen (its _NET_FRAME_EXTENTS, not invisible resize borders). Queries are
// answered by the X server at once; placements go through the window manager (EWMH) when one runs
// and manages the window, and straight to the server otherwise, and are followed through the
// connection's events (see Windows). X errors caused by windows that vanish meanwhile are
// swallowed; a server that goes away does not end the program (Xlib's default), it makes the object
// unavailable. Use it from one thread.
class X11Windows final : public Windows {
  public:
    // How long a placed window is put back when its client (or the window manager's own policy)
    // moves, resizes or shows it again; after that the window belongs to the operator.
    static constexpr std::chrono::milliseconds kHoldTime{2000};

    // Connects to displayName, or to $DISPLAY when it is empty.
    explicit X11Windows(const std::string& displayName = {});
    ~X11Windows() override;
    X11Windows(const X11Windows&) = delete;
    X11Windows& operator=(const X11Windows&) = delete;

    bool Available() const override;
    bool MayMissTaskWindows() const override { return waylandSession_; }
    std::vector<TopLevelWindow> EnumWindows() override;
    std::optional<Rect> GetWindowRect(WindowHandle window) override;
    void MoveWindow(WindowHandle window, int left, int top) override;
    void MoveResizeWindow(WindowHandle window, const Rect& rect) override;
    void RaiseWindow(WindowHandle window) override;
    void HideWindow(WindowHandle window) override;
    std::vector<Rect> Monitors() override;

    int EventDescriptor() override;
    void ProcessPendingEvents() override;
    std::optional<TimePoint> NextDeadline() const override;
    void SetListener(WindowListener* listener) override;

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
        unsigned long windowManagerSelection = 0;
        unsigned long netWmWindowType = 0;
        unsigned long netWmWindowTypeNormal = 0;
        unsigned long netWmWindowTypeDialog = 0;
    };

    // Which connection made a window, and the process behind each connection.
    struct ClientProcesses {
        unsigned long resourceMask = 0;  // 0 when the server cannot tell
        std::unordered_map<unsigned long, int> processOfClient;
        bool SameClient(WindowHandle a, WindowHandle b) const;
    };

    // One placement being carried out, and then held (see kHoldTime).
    struct Placement {
        std::optional<Rect> target;  // width and height count only when `resize`
        bool resize = false;
        bool hide = false;
        bool withdrawn = false;              // hide: the window manager has let go of the window
        bool viaWindowManager = false;       // how the last request went
        bool withoutExtents = false;         // asked before the frame's extents were known
        bool exactSize = false;              // asked through sway: only the size asked for counts
        std::optional<Rect> before;          // the outer rectangle when last asked
        std::optional<Rect> achieved;        // where it stands as asked
        std::optional<TimePoint> holdUntil;  // kHoldTime from when it first stood as asked
        TimePoint deadline;                  // next try while unconfirmed, else the end of the hold
        std::size_t attempts = 0;
    };

    // --- queries (X11Windows.cpp)
    bool IsManaged(WindowHandle window);
    bool IsMapped(WindowHandle window);
    std::vector<WindowHandle> ChildrenTopFirst(WindowHandle window);
    WindowHandle ClientInFrame(WindowHandle frame, const ClientProcesses& clients);
    WindowHandle ClientCarryingWmState(WindowHandle window);
    bool HasWmState(WindowHandle window);
    WindowHandle TopLevelAncestor(WindowHandle window);
    std::optional<Rect> FramedRect(WindowHandle client);
    std::string Caption(WindowHandle window);
    WindowRole RoleOf(WindowHandle client, bool overrideRedirect);
    ClientProcesses QueryClientProcesses();
    int ProcessOf(WindowHandle window, const ClientProcesses& clients);
    int ProcessOf(WindowHandle window);

    // --- events (X11WindowEvents.cpp)
    void StartWatching();
    void WatchExistingWindows();
    void SelectClientEvents(WindowHandle window);
    void HandleEvent(const _XEvent& event);
    void Reparented(WindowHandle window, WindowHandle parent);
    void Forget(WindowHandle window);
    WindowHandle ClientOf(WindowHandle window) const;
    void ReportIfShown(WindowHandle client);
    bool MadeByWindowManager(WindowHandle window);

    // --- placements (X11WindowPlacement.cpp)
    void AskPlacement(WindowHandle window, std::optional<Rect> target, bool resize, bool hide);
    void Request(WindowHandle window, Placement& placement, bool nudge);
    void Follow(WindowHandle window);
    void RunDueSteps();
    void ConfigureDirectly(WindowHandle window, const Rect& rect, bool resize);
    bool RequestThroughWindowManager(WindowHandle window, const Rect& rect, bool resize);
    bool ThroughSway();
    void SendToWindowManager(WindowHandle window, unsigned long type,
                             const std::array<long, 5>& data);

    _XDisplay* display_ = nullptr;
    // Taken from the program's environment at the start.
    bool waylandSession_ = false;
    bool connectionLost_ = false;  // set by Xlib when the server went away
    Atoms atoms_;

    bool watching_ = false;
    unsigned long resourceMask_ = 0;  // which bits of a resource id are the connection's own
    bool processing_ = false;
    WindowListener* listener_ = nullptr;
    std::unordered_map<WindowHandle, WindowHandle> clientOfFrame_;
    std::unordered_map<WindowHandle, WindowHandle> frameOfClient_;
    std::unordered_set<WindowHandle> shown_;  // viewable clients, reported or seen at the start
    std::unordered_map<WindowHandle, Placement> placements_;
    // sway's IPC socket, where the session has one: placements go there (see SwayCommands.h).
    std::string swaySocket_;
};

}  // namespace vardo::platform
