#include "X11Windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>
#include <unordered_map>

namespace vardo::platform {
namespace {

constexpr std::size_t kCaptionCharacters = 255;
// How long a call waits for the window manager to carry out a request (per attempt). It answers
// within a few milliseconds; the margin is for a heavily loaded machine.
constexpr auto kWindowManagerWait = std::chrono::milliseconds(500);
// A placement the window manager dropped shows no effect at all; this is long enough to tell
// that from one still on its way, short enough not to stall the caller.
constexpr auto kFirstPlacementWait = std::chrono::milliseconds(100);
constexpr auto kPollInterval = std::chrono::milliseconds(2);

// _NET_MOVERESIZE_WINDOW: NorthWest gravity, x/y/width/height present, sent by a pager-like tool
// (source 2) so that the window manager applies it without focus-stealing rules.
constexpr long kGravityNorthWest = 1;
constexpr long kMoveFlags = (1L << 8) | (1L << 9);
constexpr long kResizeFlags = (1L << 10) | (1L << 11);
constexpr long kSourcePager = 2;

struct XFreeDeleter {
    void operator()(void* data) const {
        if (data) XFree(data);
    }
};
template <typename T>
using XPointer = std::unique_ptr<T, XFreeDeleter>;

// Swallows the X errors of one display (windows vanish while we look at them) and hands errors
// of any other connection (the toolkit's) to the handler that was installed before. Xlib's
// handler is process-wide, so it is installed only around our own requests and restored
// afterwards; an inner trap for the same display leaves the outer one in place.
class ErrorTrap {
  public:
    explicit ErrorTrap(Display* display) : display_(display), outermost_(trapped_ == nullptr) {
        if (!outermost_) return;
        trapped_ = display;
        previous_ = XSetErrorHandler(&ErrorTrap::Handle);
    }
    ~ErrorTrap() {
        XSync(display_, False);
        if (!outermost_) return;
        XSetErrorHandler(previous_);
        trapped_ = nullptr;
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

  private:
    static int Handle(Display* display, XErrorEvent* event) {
        if (display == trapped_) return 0;
        return previous_ ? previous_(display, event) : 0;
    }

    Display* display_;
    bool outermost_;
    static inline Display* trapped_ = nullptr;
    static inline XErrorHandler previous_ = nullptr;
};

// Xlib ends the process when a connection breaks (the X server ends or goes away), unless both
// the process-wide I/O error handler and the display's exit handler return. Our handler returns
// for our own connections and hands every other one (the toolkit's) to the handler installed
// before it; the exit handler marks the connection lost, after which every request fails at once.
std::vector<Display*> survivingDisplays;
XIOErrorHandler previousIOErrorHandler = nullptr;

int SurviveConnectionLoss(Display* display) {
    if (std::find(survivingDisplays.begin(), survivingDisplays.end(), display) !=
        survivingDisplays.end())
        return 0;
    return previousIOErrorHandler ? previousIOErrorHandler(display) : 0;
}

void SurviveLossOf(Display* display, bool& lost) {
    // Installed once: installing it again would make it its own predecessor.
    [[maybe_unused]] static const bool installed = [] {
        previousIOErrorHandler = XSetIOErrorHandler(&SurviveConnectionLoss);
        return true;
    }();
    survivingDisplays.push_back(display);
    XSetIOErrorExitHandler(
        display, [](Display*, void* flag) { *static_cast<bool*>(flag) = true; }, &lost);
}

// Enough for any caption that survives the cut to 255 characters and for every other property
// read here; a client cannot make us copy more than this.
constexpr long kPropertyLongs = 1024;

// The raw data of a window property of the given type (AnyPropertyType for any); empty when the
// window has none or vanished. `actualType` and `format` receive what was found.
std::vector<unsigned char> ReadProperty(Display* display, Window window, Atom property, Atom type,
                                        Atom* actualType = nullptr, int* format = nullptr) {
    Atom foundType = None;
    int foundFormat = 0;
    unsigned long items = 0;
    unsigned long remaining = 0;
    unsigned char* raw = nullptr;
    if (XGetWindowProperty(display, window, property, 0, kPropertyLongs, False, type, &foundType,
                           &foundFormat, &items, &remaining, &raw) != Success)
        return {};
    XPointer<unsigned char> data(raw);
    if (actualType) *actualType = foundType;
    if (format) *format = foundFormat;
    if (!data || foundType == None) return {};
    std::size_t unit = foundFormat == 32 ? sizeof(long) : static_cast<std::size_t>(foundFormat / 8);
    return std::vector<unsigned char>(data.get(), data.get() + items * unit);
}

// A property of 32-bit items (Xlib hands them out as longs).
std::vector<long> ReadLongs(Display* display, Window window, Atom property, Atom type) {
    int format = 0;
    const auto bytes = ReadProperty(display, window, property, type, nullptr, &format);
    if (format != 32 || bytes.empty()) return {};
    std::vector<long> values(bytes.size() / sizeof(long));
    std::memcpy(values.data(), bytes.data(), values.size() * sizeof(long));
    return values;
}

// XQueryTree's answer for one window; nullopt when the window has gone.
struct WindowTree {
    Window root = None;
    Window parent = None;
    std::vector<Window> children;  // bottom to top
};

std::optional<WindowTree> QueryTree(Display* display, Window window) {
    WindowTree tree;
    Window* rawChildren = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &tree.root, &tree.parent, &rawChildren, &count))
        return std::nullopt;
    XPointer<Window> children(rawChildren);
    tree.children.assign(children.get(), children.get() + count);
    return tree;
}

std::string Latin1ToUtf8(const std::vector<unsigned char>& text) {
    std::string utf8;
    for (unsigned char c : text) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

// Keeps the first `characters` code points of a UTF-8 text, never splitting a sequence.
std::string CutUtf8(std::string text, std::size_t characters) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (count++ == characters) {
            text.resize(i);
            break;
        }
    }
    return text;
}

}  // namespace

X11Windows::X11Windows(const std::string& displayName)
    : display_(XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str())) {
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
        {"_NET_REQUEST_FRAME_EXTENTS", &atoms_.netRequestFrameExtents},
        {"_NET_SUPPORTED", &atoms_.netSupported},
        {selection.c_str(), &atoms_.windowManagerSelection},
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
    std::erase(survivingDisplays, display_);
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
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display_, window, &attributes) &&
           attributes.map_state != IsUnmapped;
}

std::vector<WindowHandle> X11Windows::ChildrenTopFirst(WindowHandle window) {
    const auto tree = QueryTree(display_, window);
    if (!tree) return {};
    return {tree->children.rbegin(), tree->children.rend()};
}

// The client a window manager has put into a frame: the one child window that another
// connection created. 0 when the frame holds none (an internal window of the manager).
WindowHandle X11Windows::ClientInFrame(WindowHandle frame, const ClientProcesses& clients) {
    for (const WindowHandle child : ChildrenTopFirst(frame)) {
        if (!clients.SameClient(child, frame)) return child;
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
        if (client == topLevel) {
            // An unmanaged top-level window (no window manager, never mapped, or withdrawn),
            // unless it is a popup or an input-only helper.
            XWindowAttributes attributes{};
            if (!XGetWindowAttributes(display_, topLevel, &attributes)) continue;
            if (attributes.override_redirect || attributes.c_class == InputOnly) continue;
        }
        windows.push_back({client, ProcessOf(client, clients), Caption(client)});
    }
    return windows;
}

std::optional<Rect> X11Windows::GetWindowRect(WindowHandle window) {
    if (!Available() || window == 0) return std::nullopt;
    ErrorTrap trap(display_);
    const WindowHandle outer = TopLevelAncestor(window);
    if (outer == 0) return std::nullopt;
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

void X11Windows::MoveWindow(WindowHandle window, int left, int top) {
    if (!Available() || window == 0) return;
    Place(window, {left, top, 0, 0}, false);
}

void X11Windows::MoveResizeWindow(WindowHandle window, const Rect& rect) {
    if (!Available() || window == 0) return;
    Place(window, rect, true);
}

void X11Windows::Place(WindowHandle window, const Rect& rect, bool resize) {
    bool windowManagerRunning = false;
    bool managed = false;
    {
        ErrorTrap trap(display_);
        windowManagerRunning = WindowManagerRunning();
        managed = windowManagerRunning && IsManaged(window);
    }
    // A window the manager takes on while it is being configured gets its frame around the size
    // given to the client: it is placed once more through the manager, which sizes the frame.
    if (managed || ConfigureUntilPlaced(window, rect, resize, windowManagerRunning))
        RequestUntilPlaced(window, rect, resize);
}

// Places a window no window manager has taken on by configuring it. A running manager receives
// even such a window's configure request, passes it on in its own time and, now and then, drops
// it: check, and ask again. True when the manager has taken the window on meanwhile.
bool X11Windows::ConfigureUntilPlaced(WindowHandle window, const Rect& rect, bool resize,
                                      bool windowManagerRunning) {
    {
        ErrorTrap trap(display_);
        ConfigureDirectly(window, rect, resize);
    }
    for (int attempt = 1; windowManagerRunning; ++attempt) {
        WaitForWindowManager();
        ErrorTrap trap(display_);
        if (IsManaged(window)) return true;
        const auto placed = GetWindowRect(window);
        if (!placed || (placed->left == rect.left && placed->top == rect.top) || attempt == 3)
            return false;
        ConfigureDirectly(window, rect, resize);
    }
    return false;
}

// Places a managed window through EWMH requests to its window manager, and waits for them.
void X11Windows::RequestUntilPlaced(WindowHandle window, const Rect& rect, bool resize) {
    std::optional<Rect> before;
    {
        ErrorTrap trap(display_);
        before = GetWindowRect(window);
        if (!before) return;  // the window has gone
        RequestPlacement(window, rect, resize);
    }
    if (WaitForPlacement(window, rect, resize, before, kFirstPlacementWait)) return;
    // openbox drops a request whose position equals one it had before under another gravity
    // (size included): ask for a neighbouring position first, then for the wanted one again.
    {
        ErrorTrap trap(display_);
        RequestPlacement(window, {rect.left + 1, rect.top, rect.width, rect.height}, resize);
        RequestPlacement(window, rect, resize);
    }
    WaitForPlacement(window, rect, resize, before, kWindowManagerWait);
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
}

void X11Windows::RequestPlacement(WindowHandle window, const Rect& rect, bool resize) {
    // Sizes in the request are the client's; the frame adds its extents around it. A window the
    // manager is still taking on has none yet: wait until it has finished, or the frame would
    // overhang the wanted rectangle.
    auto extents = ReadLongs(display_, window, atoms_.netFrameExtents, XA_CARDINAL);
    if (extents.size() < 4) {
        WaitForWindowManager();
        extents = ReadLongs(display_, window, atoms_.netFrameExtents, XA_CARDINAL);
    }
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

// Waits until the window stands at the wanted position and, when resized, has taken a new size
// (the wanted one, or as close as its own size rules allow). False when the time ran out.
bool X11Windows::WaitForPlacement(WindowHandle window, const Rect& rect, bool resize,
                                  const std::optional<Rect>& before,
                                  std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto placed = GetWindowRect(window);
        if (!placed) return false;
        const bool sized = !resize || !before ||
                           (placed->width == rect.width && placed->height == rect.height) ||
                           placed->width != before->width || placed->height != before->height;
        if (placed->left == rect.left && placed->top == rect.top && sized) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(kPollInterval);
    }
}

void X11Windows::RaiseWindow(WindowHandle window) {
    if (!Available() || window == 0) return;
    ErrorTrap trap(display_);
    if (WindowManagerRunning() && IsManaged(window)) {
        // Carried out when the window manager gets to it (it answers nothing that could be
        // waited for).
        SendToWindowManager(window, atoms_.netActiveWindow, {kSourcePager, CurrentTime, 0, 0, 0});
    } else if (const WindowHandle outer = TopLevelAncestor(window)) {
        XRaiseWindow(display_, outer);
    }
}

void X11Windows::HideWindow(WindowHandle window) {
    if (!Available() || window == 0) return;
    bool windowManagerRunning = false;
    {
        ErrorTrap trap(display_);
        windowManagerRunning = WindowManagerRunning();
        XWithdrawWindow(display_, window, DefaultScreen(display_));
    }
    // The window manager gives the withdrawn client back to the root and restores its geometry
    // (also when it was still taking the window on); a placement made before it has done so
    // would be undone.
    if (windowManagerRunning) WaitForWindowManager();
}

// The window manager handles requests in order, so once it has answered a frame-extents request
// it has also finished everything asked of it before. The request is made for a window of our
// own that is never mapped: a manager answers it only for windows it does not manage, and a
// task's window may be taken on, or vanish, in the meantime (its own extents would be lost).
void X11Windows::WaitForWindowManager() {
    {
        ErrorTrap trap(display_);
        // A window manager that does not offer the request would leave us waiting in vain.
        const auto supported =
            ReadLongs(display_, DefaultRootWindow(display_), atoms_.netSupported, XA_ATOM);
        if (std::find(supported.begin(), supported.end(),
                      static_cast<long>(atoms_.netRequestFrameExtents)) == supported.end())
            return;
        // Goes with the connection when it closes.
        if (barrier_ == 0)
            barrier_ =
                XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
        XDeleteProperty(display_, barrier_, atoms_.netFrameExtents);
        SendToWindowManager(barrier_, atoms_.netRequestFrameExtents, {0, 0, 0, 0, 0});
    }
    const auto deadline = std::chrono::steady_clock::now() + kWindowManagerWait;
    while (Available() && std::chrono::steady_clock::now() < deadline) {
        {
            ErrorTrap trap(display_);
            if (!ReadLongs(display_, barrier_, atoms_.netFrameExtents, XA_CARDINAL).empty()) return;
        }
        std::this_thread::sleep_for(kPollInterval);
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
