#include "X11Windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <cstdlib>

#include "X11Support.h"

namespace vardo::platform {

using namespace x11;

namespace {

constexpr std::size_t kCaptionCharacters = 255;

}  // namespace

X11Windows::X11Windows(const std::string& displayName)
    : display_(XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str())) {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    waylandSession_ = wayland != nullptr && *wayland != '\0';
    if (!display_) return;
    SurviveLossOf(display_, connectionLost_);
    const std::string selection = "WM_S" + std::to_string(DefaultScreen(display_));
    const std::pair<const char*, unsigned long*> wanted[] = {
        {"WM_STATE", &atoms_.wmState},
        {"WM_NAME", &atoms_.wmName},
        {"_NET_WM_NAME", &atoms_.netWmName},
        {"UTF8_STRING", &atoms_.utf8String},
        {"_NET_WM_PID", &atoms_.netWmPid},
        {"_NET_MOVERESIZE_WINDOW", &atoms_.netMoveResizeWindow},
        {"_NET_FRAME_EXTENTS", &atoms_.netFrameExtents},
        {"_NET_ACTIVE_WINDOW", &atoms_.netActiveWindow},
        {selection.c_str(), &atoms_.windowManagerSelection},
        {"_NET_WM_WINDOW_TYPE", &atoms_.netWmWindowType},
        {"_NET_WM_WINDOW_TYPE_NORMAL", &atoms_.netWmWindowTypeNormal},
        {"_NET_WM_WINDOW_TYPE_DIALOG", &atoms_.netWmWindowTypeDialog},
    };
    std::vector<char*> names;
    for (const auto& [name, atom] : wanted) names.push_back(const_cast<char*>(name));
    std::vector<Atom> atoms(names.size());
    XInternAtoms(display_, names.data(), static_cast<int>(names.size()), False, atoms.data());
    for (std::size_t i = 0; i < names.size(); ++i) *wanted[i].second = atoms[i];
}

X11Windows::~X11Windows() {
    if (!display_) return;
    XCloseDisplay(display_);
    ForgetDisplay(display_);
}

bool X11Windows::Available() const {
    return display_ != nullptr && !connectionLost_;
}

bool X11Windows::WindowManagerRunning() {
    return Available() && XGetSelectionOwner(display_, atoms_.windowManagerSelection) != None;
}

// Whether the window manager has (or is taking) the window: it sits in a frame, or, with a
// window manager that does not reparent, it is mapped with a WM_STATE of normal or iconic.
bool X11Windows::IsManaged(WindowHandle window) {
    if (TopLevelAncestor(window) != window) return true;
    // WM_STATE has a type of its own; its first item is the state.
    const auto state = ReadLongs(display_, window, atoms_.wmState, atoms_.wmState);
    if (state.empty() || state.front() == WithdrawnState) return false;
    return IsMapped(window);
}

bool X11Windows::IsMapped(WindowHandle window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display_, window, &attributes) &&
           attributes.map_state != IsUnmapped;
}

std::vector<WindowHandle> X11Windows::ChildrenTopFirst(WindowHandle window) {
    const auto tree = QueryTree(display_, window);
    if (!tree) return {};
    return {tree->children.rbegin(), tree->children.rend()};
}

// The client a window manager has put into a frame: the window inside it that another
// connection created, a child of the frame or, as KWin wraps it once more, deeper inside the
// manager's own windows. 0 when the frame holds none (an internal window of the manager).
WindowHandle X11Windows::ClientInFrame(WindowHandle frame, const ClientProcesses& clients) {
    const std::vector<WindowHandle> children = ChildrenTopFirst(frame);
    for (const WindowHandle child : children) {
        if (!clients.SameClient(child, frame)) return child;
    }
    for (const WindowHandle child : children) {
        if (const WindowHandle client = ClientInFrame(child, clients)) return client;
    }
    return 0;
}

// Without the X-Resource extension frames cannot be told by their creator; the client is then
// the window (or child) carrying WM_STATE. 0 when there is none.
WindowHandle X11Windows::ClientCarryingWmState(WindowHandle window) {
    if (HasWmState(window)) return window;
    for (const WindowHandle child : ChildrenTopFirst(window)) {
        if (HasWmState(child)) return child;
    }
    return 0;
}

bool X11Windows::HasWmState(WindowHandle window) {
    return !ReadProperty(display_, window, atoms_.wmState, AnyPropertyType).empty();
}

WindowHandle X11Windows::TopLevelAncestor(WindowHandle window) {
    Window current = window;
    while (const auto tree = QueryTree(display_, current)) {
        if (tree->parent == tree->root || tree->parent == None) return current;
        current = tree->parent;
    }
    return 0;
}

std::string X11Windows::Caption(WindowHandle window) {
    const auto utf8 = ReadProperty(display_, window, atoms_.netWmName, atoms_.utf8String);
    if (!utf8.empty()) return CutUtf8({utf8.begin(), utf8.end()}, kCaptionCharacters);
    Atom type = None;
    int format = 0;
    const auto legacy =
        ReadProperty(display_, window, atoms_.wmName, AnyPropertyType, &type, &format);
    if (legacy.empty() || format != 8) return {};
    if (type == XA_STRING) return CutUtf8(Latin1ToUtf8(legacy), kCaptionCharacters);
    if (type == atoms_.utf8String)
        return CutUtf8({legacy.begin(), legacy.end()}, kCaptionCharacters);
    // COMPOUND_TEXT and other encodings: let Xlib convert.
    XTextProperty property{const_cast<unsigned char*>(legacy.data()), type, format,
                           static_cast<unsigned long>(legacy.size())};
    char** list = nullptr;
    int count = 0;
    if (Xutf8TextPropertyToTextList(display_, &property, &list, &count) < Success || !list)
        return {};
    std::string caption = count > 0 && list[0] ? list[0] : "";
    XFreeStringList(list);
    return CutUtf8(std::move(caption), kCaptionCharacters);
}

// The first of the window's types is the one it wants most (EWMH).
WindowRole X11Windows::RoleOf(WindowHandle client, bool overrideRedirect) {
    if (overrideRedirect) return WindowRole::OverrideRedirect;
    Window transientFor = None;
    if (XGetTransientForHint(display_, client, &transientFor) && transientFor != None)
        return WindowRole::Secondary;
    const auto types = ReadLongs(display_, client, atoms_.netWmWindowType, XA_ATOM);
    if (types.empty()) return WindowRole::Main;
    const auto type = static_cast<unsigned long>(types.front());
    if (type == atoms_.netWmWindowTypeNormal) return WindowRole::Main;
    return type == atoms_.netWmWindowTypeDialog ? WindowRole::Dialog : WindowRole::Secondary;
}

bool X11Windows::ClientProcesses::SameClient(WindowHandle a, WindowHandle b) const {
    return resourceMask != 0 && (a & ~resourceMask) == (b & ~resourceMask);
}

// Every connection's process from the X-Resource extension, which knows it even for windows
// that set no _NET_WM_PID, and the resource-id mask that tells which connection created a window.
// Two requests, whatever the number of windows; empty without the extension.
X11Windows::ClientProcesses X11Windows::QueryClientProcesses() {
    ClientProcesses clients;
    int eventBase = 0;
    int errorBase = 0;
    if (!XResQueryExtension(display_, &eventBase, &errorBase)) return clients;
    int clientCount = 0;
    XResClient* rawClients = nullptr;
    // Unlike XResQueryClientIds, this one returns a true Status on success.
    if (!XResQueryClients(display_, &clientCount, &rawClients)) return clients;
    XPointer<XResClient> list(rawClients);
    if (clientCount == 0) return clients;
    clients.resourceMask = list.get()[0].resource_mask;
    XResClientIdSpec everyClient{0, XRES_CLIENT_ID_PID_MASK};
    long count = 0;
    XResClientIdValue* values = nullptr;
    if (XResQueryClientIds(display_, 1, &everyClient, &count, &values) != Success) return clients;
    for (long i = 0; i < count; ++i) {
        const pid_t pid = XResGetClientPid(&values[i]);
        if (pid > 0) clients.processOfClient[values[i].spec.client & ~clients.resourceMask] = pid;
    }
    XResClientIdsDestroy(count, values);
    return clients;
}

int X11Windows::ProcessOf(WindowHandle window, const ClientProcesses& clients) {
    if (clients.resourceMask != 0) {
        const auto found = clients.processOfClient.find(window & ~clients.resourceMask);
        if (found != clients.processOfClient.end()) return found->second;
    }
    const auto pid = ReadLongs(display_, window, atoms_.netWmPid, XA_CARDINAL);
    return !pid.empty() && pid.front() > 0 ? static_cast<int>(pid.front()) : 0;
}

// One window's process: a single request to the X-Resource extension (any resource id names
// the connection that made it), else _NET_WM_PID.
int X11Windows::ProcessOf(WindowHandle window) {
    int eventBase = 0;
    int errorBase = 0;
    if (XResQueryExtension(display_, &eventBase, &errorBase)) {
        XResClientIdSpec spec{static_cast<XID>(window), XRES_CLIENT_ID_PID_MASK};
        long count = 0;
        XResClientIdValue* values = nullptr;
        if (XResQueryClientIds(display_, 1, &spec, &count, &values) == Success) {
            pid_t pid = 0;
            for (long i = 0; i < count && pid <= 0; ++i) pid = XResGetClientPid(&values[i]);
            XResClientIdsDestroy(count, values);
            if (pid > 0) return pid;
        }
    }
    return ProcessOf(window, ClientProcesses{});
}

std::vector<TopLevelWindow> X11Windows::EnumWindows() {
    if (!Available()) return {};
    ErrorTrap trap(display_);
    const auto clients = QueryClientProcesses();
    // The window manager's frames are made by the connection that owns the WM_Sn selection.
    const Window windowManager = XGetSelectionOwner(display_, atoms_.windowManagerSelection);
    std::vector<TopLevelWindow> windows;
    for (const WindowHandle topLevel : ChildrenTopFirst(DefaultRootWindow(display_))) {
        WindowHandle client = topLevel;
        if (windowManager != None && clients.resourceMask != 0) {
            if (clients.SameClient(topLevel, windowManager)) {
                client = ClientInFrame(topLevel, clients);
                if (client == 0) continue;
            }
        } else if (windowManager != None) {
            if (const WindowHandle found = ClientCarryingWmState(topLevel)) client = found;
        }
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display_, client, &attributes)) continue;
        // Input-only helpers are no windows anyone sees. Override-redirect windows (popups, and
        // players that cover a monitor without a frame) are listed like any other.
        if (attributes.c_class == InputOnly) continue;
        windows.push_back({client, ProcessOf(client, clients), Caption(client),
                           attributes.map_state == IsViewable,
                           RoleOf(client, attributes.override_redirect)});
    }
    return windows;
}

std::optional<Rect> X11Windows::GetWindowRect(WindowHandle window) {
    if (!Available() || window == 0) return std::nullopt;
    ErrorTrap trap(display_);
    const WindowHandle outer = TopLevelAncestor(window);
    if (outer == 0) return std::nullopt;
    if (outer != window) {
        if (const auto framed = FramedRect(window)) return framed;
    }
    Window root = None;
    int x = 0;
    int y = 0;
    unsigned int width = 0;
    unsigned int height = 0;
    unsigned int border = 0;
    unsigned int depth = 0;
    if (!XGetGeometry(display_, outer, &root, &x, &y, &width, &height, &border, &depth))
        return std::nullopt;
    return Rect{x, y, static_cast<int>(width + 2 * border), static_cast<int>(height + 2 * border)};
}

// The frame as it is seen: the client plus the frame's _NET_FRAME_EXTENTS. The frame window
// itself can be larger: mutter's includes invisible borders for resizing by the mouse.
std::optional<Rect> X11Windows::FramedRect(WindowHandle client) {
    const auto extents = ReadLongs(display_, client, atoms_.netFrameExtents, XA_CARDINAL);
    if (extents.size() < 4) return std::nullopt;
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display_, client, &attributes)) return std::nullopt;
    int x = 0;
    int y = 0;
    Window child = None;
    if (!XTranslateCoordinates(display_, client, attributes.root, 0, 0, &x, &y, &child))
        return std::nullopt;
    const int border = attributes.border_width;
    return Rect{x - border - static_cast<int>(extents[0]),
                y - border - static_cast<int>(extents[2]),
                attributes.width + 2 * border + static_cast<int>(extents[0] + extents[1]),
                attributes.height + 2 * border + static_cast<int>(extents[2] + extents[3])};
}

void X11Windows::RaiseWindow(WindowHandle window) {
    if (!Available() || window == 0) return;
    ErrorTrap trap(display_);
    if (WindowManagerRunning() && IsManaged(window)) {
        // Carried out when the window manager gets to it (it answers nothing that could be
        // waited for). Source 2: a pager-like tool, so focus-stealing rules do not apply.
        SendToWindowManager(window, atoms_.netActiveWindow, {2, CurrentTime, 0, 0, 0});
    } else if (const WindowHandle outer = TopLevelAncestor(window)) {
        XRaiseWindow(display_, outer);
    }
}

std::vector<Rect> X11Windows::Monitors() {
    if (!Available()) return {};
    ErrorTrap trap(display_);
    const Window root = DefaultRootWindow(display_);
    std::vector<Rect> monitors;
    int eventBase = 0;
    int errorBase = 0;
    if (XRRQueryExtension(display_, &eventBase, &errorBase)) {
        int count = 0;
        XRRMonitorInfo* raw = XRRGetMonitors(display_, root, True, &count);
        for (int i = 0; i < count; ++i)
            monitors.push_back({raw[i].x, raw[i].y, raw[i].width, raw[i].height});
        if (raw) XRRFreeMonitors(raw);
    }
    if (monitors.empty() && Available()) {
        const int screen = DefaultScreen(display_);
        monitors.push_back({0, 0, DisplayWidth(display_, screen), DisplayHeight(display_, screen)});
    }
    return monitors;
}

}  // namespace vardo::platform
