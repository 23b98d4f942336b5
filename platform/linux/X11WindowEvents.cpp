// The event side of X11Windows: which top-level windows show, and what happens to the windows
// being placed. The connection selects the root window's structure events (windows created,
// mapped, reparented into frames, moved) and, on every top-level client, its own structure and
// property events (its mapping inside a frame, its caption, process id, frame extents).
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "X11Support.h"
#include "X11Windows.h"

namespace vardo::platform {

using namespace x11;

int X11Windows::EventDescriptor() {
    if (!Available()) return -1;
    StartWatching();
    return ConnectionNumber(display_);
}

void X11Windows::SetListener(WindowListener* listener) {
    listener_ = listener;
    if (listener_ && Available()) StartWatching();
}

void X11Windows::StartWatching() {
    if (watching_) return;
    watching_ = true;
    ErrorTrap trap(display_);
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
    WatchExistingWindows();
}

// Windows that were there before the watch began are followed from now on; those already shown
// count as shown (a change of their caption is still told).
void X11Windows::WatchExistingWindows() {
    const auto clients = QueryClientProcesses();
    resourceMask_ = clients.resourceMask;
    const Window windowManager = XGetSelectionOwner(display_, atoms_.windowManagerSelection);
    for (const WindowHandle topLevel : ChildrenTopFirst(DefaultRootWindow(display_))) {
        WindowHandle client = topLevel;
        if (windowManager != None && clients.SameClient(topLevel, windowManager)) {
            client = ClientInFrame(topLevel, clients);
            if (client == 0) continue;
        } else if (windowManager != None && clients.resourceMask == 0) {
            if (const WindowHandle found = ClientCarryingWmState(topLevel)) client = found;
        }
        if (client != topLevel) {
            clientOfFrame_[topLevel] = client;
            frameOfClient_[client] = topLevel;
        }
        SelectClientEvents(client);
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display_, client, &attributes) &&
            attributes.map_state == IsViewable)
            shown_.insert(client);
    }
}

void X11Windows::SelectClientEvents(WindowHandle window) {
    XSelectInput(display_, window, StructureNotifyMask | PropertyChangeMask);
}

void X11Windows::ProcessPendingEvents() {
    if (!Available() || processing_) return;
    // Called whenever the event loop is about to wait: nothing to do costs one read attempt.
    const auto next = NextDeadline();
    const bool due = next && *next <= std::chrono::steady_clock::now();
    if (!due && XEventsQueued(display_, QueuedAfterReading) == 0) return;
    processing_ = true;
    for (;;) {
        {
            ErrorTrap trap(display_);
            while (Available() && XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                HandleEvent(event);
            }
            RunDueSteps();
        }
        // Leaving the trap waited for the server, which may have brought more events.
        if (!Available() || XEventsQueued(display_, QueuedAlready) == 0) break;
    }
    processing_ = false;
}

void X11Windows::HandleEvent(const XEvent& event) {
    const Window root = DefaultRootWindow(display_);
    switch (event.type) {
        case CreateNotify:
            // Frames are followed through the root's own events.
            if (event.xcreatewindow.parent == root &&
                !MadeByWindowManager(event.xcreatewindow.window))
                SelectClientEvents(event.xcreatewindow.window);
            break;
        case ReparentNotify:
            Reparented(event.xreparent.window, event.xreparent.parent);
            ReportIfShown(event.xreparent.window);
            Follow(event.xreparent.window);
            break;
        case MapNotify: {
            const WindowHandle client = ClientOf(event.xmap.window);
            ReportIfShown(client);
            Follow(client);
            break;
        }
        case UnmapNotify: {
            const WindowHandle client = ClientOf(event.xunmap.window);
            shown_.erase(client);
            Follow(client);
            break;
        }
        case ConfigureNotify:
            Follow(ClientOf(event.xconfigure.window));
            break;
        case PropertyNotify: {
            const Atom property = event.xproperty.atom;
            const WindowHandle window = event.xproperty.window;
            if (property == atoms_.wmName || property == atoms_.netWmName ||
                property == atoms_.netWmPid) {
                // A caption or process id that comes after the mapping is told as well.
                XWindowAttributes attributes{};
                if (shown_.contains(window) && listener_ &&
                    XGetWindowAttributes(display_, window, &attributes)) {
                    listener_->WindowViewable({window, ProcessOf(window), Caption(window), true,
                                               RoleOf(window, attributes.override_redirect)});
                }
            } else if (property == atoms_.netFrameExtents || property == atoms_.wmState) {
                Follow(window);
            }
            break;
        }
        case DestroyNotify:
            Forget(event.xdestroywindow.window);
            if (listener_) listener_->WindowDestroyed(event.xdestroywindow.window);
            break;
        default:
            break;
    }
}

void X11Windows::Reparented(WindowHandle window, WindowHandle parent) {
    if (const auto frame = frameOfClient_.find(window); frame != frameOfClient_.end()) {
        clientOfFrame_.erase(frame->second);
        frameOfClient_.erase(frame);
    }
    if (parent == DefaultRootWindow(display_)) return;
    // Into a frame of the window manager (a child of the root), or into a window of the manager's
    // own inside one, as KWin wraps its clients; inside anyone else's window it is no longer a
    // top-level window.
    const WindowHandle frame = TopLevelAncestor(parent);
    if (frame == 0 || (frame != parent && !MadeByWindowManager(parent))) return;
    clientOfFrame_[frame] = window;
    frameOfClient_[window] = frame;
    SelectClientEvents(window);
}

void X11Windows::Forget(WindowHandle window) {
    if (const auto client = clientOfFrame_.find(window); client != clientOfFrame_.end()) {
        frameOfClient_.erase(client->second);
        clientOfFrame_.erase(client);
    }
    if (const auto frame = frameOfClient_.find(window); frame != frameOfClient_.end()) {
        clientOfFrame_.erase(frame->second);
        frameOfClient_.erase(frame);
    }
    shown_.erase(window);
    placements_.erase(window);
}

WindowHandle X11Windows::ClientOf(WindowHandle window) const {
    const auto client = clientOfFrame_.find(window);
    return client != clientOfFrame_.end() ? client->second : window;
}

// Tells the listener about a client that has just become viewable (mapped, and inside a mapped
// frame under a window manager). Frames and internal windows of the window manager, and
// input-only windows, are no clients.
void X11Windows::ReportIfShown(WindowHandle client) {
    if (shown_.contains(client) || clientOfFrame_.contains(client)) return;
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display_, client, &attributes)) return;
    if (attributes.map_state != IsViewable || attributes.c_class == InputOnly) return;
    if (!frameOfClient_.contains(client)) {
        if (TopLevelAncestor(client) != client || MadeByWindowManager(client)) return;
    }
    shown_.insert(client);
    if (listener_)
        listener_->WindowViewable({client, ProcessOf(client), Caption(client), true,
                                   RoleOf(client, attributes.override_redirect)});
}

bool X11Windows::MadeByWindowManager(WindowHandle window) {
    if (resourceMask_ == 0) return false;
    const Window windowManager = XGetSelectionOwner(display_, atoms_.windowManagerSelection);
    return windowManager != None && (window & ~resourceMask_) == (windowManager & ~resourceMask_);
}

}  // namespace vardo::platform
