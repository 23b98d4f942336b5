// Placements of X11Windows, carried out without waiting: a request goes to the window manager
// (or straight to the server), and the connection's events tell when it has taken effect. A
// request the window manager loses is asked again, a little later each time; once in place the
// window is held there for kHoldTime against its client and the window manager's own policy.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>

#include "SwayCommands.h"
#include "X11Support.h"
#include "X11Windows.h"

namespace vardo::platform {

using namespace x11;

namespace {

// When to look again at a placement that has shown no effect, counted from each request. The
// window manager answers within milliseconds; the later tries cover one that is busy or stopped
// for a while. After the last one the placement is given up.
constexpr std::chrono::milliseconds kRetryDelays[] = {
    std::chrono::milliseconds(100), std::chrono::milliseconds(400), std::chrono::milliseconds(1000),
    std::chrono::milliseconds(2500)};

// _NET_MOVERESIZE_WINDOW: NorthWest gravity, x/y/width/height present, sent by a pager-like tool
// (source 2) so that the window manager applies it without focus-stealing rules.
constexpr long kGravityNorthWest = 1;
constexpr long kMoveFlags = (1L << 8) | (1L << 9);
constexpr long kResizeFlags = (1L << 10) | (1L << 11);
constexpr long kSourcePager = 2;

Windows::TimePoint Now() {
    return std::chrono::steady_clock::now();
}

// Whether the window stands where it was asked to: at the position and, when resized, with the
// size asked for or, unless `exactSize`, any new size (as close as the window's own size rules
// allow).
bool Stands(const Rect& rect, const Rect& target, bool resize, const std::optional<Rect>& before,
            bool exactSize) {
    if (rect.left != target.left || rect.top != target.top) return false;
    if (!resize || (rect.width == target.width && rect.height == target.height)) return true;
    if (exactSize) return false;
    return !before || rect.width != before->width || rect.height != before->height;
}

}  // namespace

void X11Windows::MoveWindow(WindowHandle window, int left, int top) {
    AskPlacement(window, Rect{left, top, 0, 0}, false, false);
}

void X11Windows::MoveResizeWindow(WindowHandle window, const Rect& rect) {
    AskPlacement(window, rect, true, false);
}

void X11Windows::HideWindow(WindowHandle window) {
    AskPlacement(window, std::nullopt, false, true);
}

// A new request replaces what was asked before, except that a hidden window stays hidden while
// it is moved.
void X11Windows::AskPlacement(WindowHandle window, std::optional<Rect> target, bool resize,
                              bool hide) {
    if (!Available() || window == 0) return;
    StartWatching();
    ErrorTrap trap(display_);
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display_, window, &attributes)) return;  // gone
    SelectClientEvents(window);
    Placement& placement = placements_[window];
    if (hide) {
        if (!placement.hide) placement.withdrawn = false;
        placement.hide = true;
    } else {
        placement.target = target;
        placement.resize = resize;
    }
    placement.achieved.reset();
    placement.holdUntil.reset();
    placement.attempts = 0;
    // A window that already stands where it is asked to be gets no event to say so: the first
    // deadline finds it there.
    Request(window, placement, false);
}

// Sends what the placement still needs: the withdrawal first, then the rectangle.
void X11Windows::Request(WindowHandle window, Placement& placement, bool nudge) {
    placement.deadline =
        Now() + kRetryDelays[std::min(placement.attempts, std::size(kRetryDelays) - 1)];
    if (placement.holdUntil)
        placement.deadline = std::min(placement.deadline, *placement.holdUntil);
    const bool windowManagerRunning = WindowManagerRunning();
    if (placement.hide && !placement.withdrawn) {
        XWithdrawWindow(display_, window, DefaultScreen(display_));
        XFlush(display_);
        // A window manager gives the client back to the root and restores its geometry in its
        // own time: a rectangle set before that would be undone, so it waits for the event.
        if (windowManagerRunning) return;
        placement.withdrawn = true;
    }
    if (!placement.target) return;
    placement.before = GetWindowRect(window);
    if (windowManagerRunning && IsManaged(window)) {
        // sway takes the placement from its IPC only; where that fails, EWMH is all that is left.
        if (ThroughSway() &&
            !RunSwayCommand(swaySocket_, SwayPlacementCommand(window, *placement.target,
                                                              placement.resize))) {
            placement.withoutExtents = false;
            placement.viaWindowManager = true;
            // sway gives exactly the size asked for; another one is its own later change (it can
            // take the size of a frame XWayland drew before the placement), which is asked again.
            placement.exactSize = true;
            return;
        }
        // openbox drops a request whose position equals one it had before under another
        // gravity (size included): a retry asks for a neighbouring position first.
        if (nudge) {
            Rect neighbour = *placement.target;
            ++neighbour.left;
            RequestThroughWindowManager(window, neighbour, placement.resize);
        }
        placement.withoutExtents =
            !RequestThroughWindowManager(window, *placement.target, placement.resize);
        placement.viaWindowManager = true;
        placement.exactSize = false;
    } else {
        ConfigureDirectly(window, *placement.target, placement.resize);
        placement.viaWindowManager = false;
        placement.exactSize = false;
    }
}

// An event concerned the window: see how far its placement has come, and whether a held window
// has been moved (or shown again) by someone else.
void X11Windows::Follow(WindowHandle window) {
    const auto found = placements_.find(window);
    if (found == placements_.end()) return;
    Placement& placement = found->second;
    // The hold ends kHoldTime after the window first stood as asked, whatever happens after.
    if (placement.holdUntil && *placement.holdUntil <= Now()) {
        placements_.erase(found);
        return;
    }
    const auto rect = GetWindowRect(window);
    if (!rect) {
        // Gone, or caught while the window manager lets go of it and destroys the frames around
        // it (KWin): only a window that no longer exists ends its placement; otherwise the next
        // event or deadline looks again.
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display_, window, &attributes)) placements_.erase(found);
        return;
    }
    const bool mapped = IsMapped(window);
    if (placement.achieved) {
        const bool moved =
            placement.target &&
            (rect->left != placement.achieved->left || rect->top != placement.achieved->top ||
             (placement.resize && (rect->width != placement.achieved->width ||
                                   rect->height != placement.achieved->height)));
        const bool shownAgain = placement.hide && mapped;
        if (!moved && !shownAgain) return;
        placement.achieved.reset();
        if (shownAgain) placement.withdrawn = false;
        // The tries count on from the first placement: a window that is moved away again and
        // again gets no more of them than one that never moved.
        Request(window, placement, false);
        return;
    }
    const bool managed = WindowManagerRunning() && IsManaged(window);
    if (placement.hide && !placement.withdrawn) {
        if (managed || mapped) return;  // the window manager has not let go yet
        placement.withdrawn = true;
        if (placement.target) {
            Request(window, placement, false);
            return;
        }
    }
    if (placement.target) {
        // Taken on by the window manager while being configured (it frames the client at the
        // size given to it), or asked for before the frame's extents were known: ask again
        // before judging the result, whose size then merely differs from before.
        const bool extentsKnown =
            ReadLongs(display_, window, atoms_.netFrameExtents, XA_CARDINAL).size() >= 4;
        if (managed &&
            (!placement.viaWindowManager || (placement.withoutExtents && extentsKnown))) {
            Request(window, placement, false);
            return;
        }
        if (!Stands(*rect, *placement.target, placement.resize, placement.before,
                    placement.exactSize))
            return;
    }
    placement.achieved = *rect;
    // Putting the window back does not lengthen the hold: a client that keeps moving its window
    // gets it after kHoldTime all the same.
    if (!placement.holdUntil) placement.holdUntil = Now() + kHoldTime;
    placement.deadline = *placement.holdUntil;
}

void X11Windows::RunDueSteps() {
    const TimePoint now = Now();
    std::vector<WindowHandle> due;
    for (const auto& [window, placement] : placements_) {
        if (placement.deadline <= now) due.push_back(window);
    }
    for (const WindowHandle window : due) {
        Follow(window);
        const auto found = placements_.find(window);
        if (found == placements_.end() || found->second.deadline > now) continue;
        Placement& placement = found->second;
        const bool holdOver = placement.holdUntil && *placement.holdUntil <= now;
        if (placement.achieved || holdOver || ++placement.attempts >= std::size(kRetryDelays)) {
            placements_.erase(found);  // held long enough, or given up
            continue;
        }
        Request(window, placement, true);
    }
}

std::optional<Windows::TimePoint> X11Windows::NextDeadline() const {
    std::optional<TimePoint> next;
    for (const auto& [window, placement] : placements_) {
        if (!next || placement.deadline < *next) next = placement.deadline;
    }
    return next;
}

// Whether placements go to sway's IPC: the session has its socket, and this display is sway's
// XWayland (its window manager is wlroots' own), not some other X server.
bool X11Windows::ThroughSway() {
    if (swaySocket_.empty()) return false;
    const Atom check = XInternAtom(display_, "_NET_SUPPORTING_WM_CHECK", False);
    const auto manager = ReadLongs(display_, DefaultRootWindow(display_), check, XA_WINDOW);
    return !manager.empty() && Caption(static_cast<WindowHandle>(manager.front())) == "wlroots wm";
}

// Configures the window itself; its border counts towards the outer rectangle.
void X11Windows::ConfigureDirectly(WindowHandle window, const Rect& rect, bool resize) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display_, window, &attributes)) return;
    const int border = attributes.border_width;
    if (resize) {
        XMoveResizeWindow(display_, window, rect.left, rect.top,
                          static_cast<unsigned>(std::max(1, rect.width - 2 * border)),
                          static_cast<unsigned>(std::max(1, rect.height - 2 * border)));
    } else {
        XMoveWindow(display_, window, rect.left, rect.top);
    }
    XFlush(display_);
}

// Sizes in the request are the client's; the frame adds its extents around it. False when the
// extents are not known yet (the window manager is still taking the window on): the size then
// counts the frame as empty and is asked again once they are.
bool X11Windows::RequestThroughWindowManager(WindowHandle window, const Rect& rect, bool resize) {
    const auto extents = ReadLongs(display_, window, atoms_.netFrameExtents, XA_CARDINAL);
    long horizontal = 0;
    long vertical = 0;
    if (extents.size() >= 4) {
        horizontal = extents[0] + extents[1];
        vertical = extents[2] + extents[3];
    }
    SendToWindowManager(
        window, atoms_.netMoveResizeWindow,
        {kGravityNorthWest | kMoveFlags | (resize ? kResizeFlags : 0) | (kSourcePager << 12),
         rect.left, rect.top, std::max(1L, rect.width - horizontal),
         std::max(1L, rect.height - vertical)});
    return extents.size() >= 4;
}

// An EWMH request about a window, sent to the root where the window manager listens.
void X11Windows::SendToWindowManager(WindowHandle window, unsigned long type,
                                     const std::array<long, 5>& data) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    std::copy(data.begin(), data.end(), event.xclient.data.l);
    XSendEvent(display_, DefaultRootWindow(display_), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display_);
}

}  // namespace vardo::platform
