#include "Win32Windows.h"

#include <windows.h>

#include <algorithm>

#include "WideText.h"

namespace vardo::platform {

namespace {

// The one object whose hook is running: the hook's calls carry no context of their own.
Win32Windows* hooked = nullptr;

constexpr int kCaptionLimit = 255;

HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}
WindowHandle ToHandle(HWND window) {
    return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
}

std::string Caption(HWND window) {
    wchar_t text[kCaptionLimit + 1] = {};
    const int length = ::GetWindowTextW(window, text, kCaptionLimit + 1);
    return Utf8Text(std::wstring_view(text, static_cast<size_t>(std::max(length, 0))));
}

// Dialogs have the system's dialog class; owned and tool windows are a program's secondary
// windows; menus and tooltips stand where an X server has override-redirect windows.
WindowRole RoleOf(HWND window) {
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    const std::wstring_view name(className);
    if (name == L"#32768" || name == L"tooltips_class32") return WindowRole::OverrideRedirect;
    if (::GetWindow(window, GW_OWNER) != nullptr) return WindowRole::Secondary;
    if (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return WindowRole::Secondary;
    if (name == L"#32770") return WindowRole::Dialog;
    return WindowRole::Main;
}

TopLevelWindow Describe(HWND window) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    return {ToHandle(window), static_cast<int>(processId), Caption(window),
            ::IsWindowVisible(window) != 0, RoleOf(window)};
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoW(monitor, &info)) {
        const RECT& r = info.rcMonitor;
        reinterpret_cast<std::vector<Rect>*>(list)->push_back(
            {r.left, r.top, r.right - r.left, r.bottom - r.top});
    }
    return TRUE;
}

// Placements never wait for the task's thread (SWP_ASYNCWINDOWPOS) and never take the focus.
constexpr UINT kPlacementFlags = SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS;

}  // namespace

Win32Windows::~Win32Windows() {
    if (hook_) ::UnhookWinEvent(static_cast<HWINEVENTHOOK>(hook_));
    if (hooked == this) hooked = nullptr;
}

std::vector<TopLevelWindow> Win32Windows::EnumWindows() {
    std::vector<HWND> handles;
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&handles));  // top first
    std::vector<TopLevelWindow> windows;
    windows.reserve(handles.size());
    for (HWND window : handles) windows.push_back(Describe(window));
    return windows;
}

std::optional<Rect> Win32Windows::GetWindowRect(WindowHandle window) {
    RECT r{};
    if (!::GetWindowRect(ToHwnd(window), &r)) return std::nullopt;
    return Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Win32Windows::MoveWindow(WindowHandle window, int left, int top) {
    ::SetWindowPos(ToHwnd(window), HWND_TOP, left, top, 0, 0, SWP_NOSIZE | kPlacementFlags);
}

// A maximised window keeps its maximised rectangle whatever it is given: it is restored first.
void Win32Windows::MoveResizeWindow(WindowHandle window, const Rect& rect) {
    const HWND hwnd = ToHwnd(window);
    if (::IsZoomed(hwnd)) ::ShowWindowAsync(hwnd, SW_RESTORE);
    ::SetWindowPos(hwnd, HWND_TOP, rect.left, rect.top, rect.width, rect.height, kPlacementFlags);
}

void Win32Windows::RaiseWindow(WindowHandle window) {
    ::SetWindowPos(ToHwnd(window), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | kPlacementFlags);
}

void Win32Windows::HideWindow(WindowHandle window) {
    ::ShowWindowAsync(ToHwnd(window), SW_HIDE);
}

std::vector<Rect> Win32Windows::Monitors() {
    std::vector<Rect> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty())
        monitors.push_back({0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
    return monitors;
}

int Win32Windows::EventDescriptor() {
    if (!hook_ && (!hooked || hooked == this)) {
        hook_ = ::SetWinEventHook(EVENT_OBJECT_DESTROY, EVENT_OBJECT_NAMECHANGE, nullptr,
                                  reinterpret_cast<WINEVENTPROC>(&Win32Windows::HookCall), 0, 0,
                                  WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
        if (hook_) hooked = this;
    }
    return -1;
}

void __stdcall Win32Windows::HookCall(void*, unsigned long event, void* window, long object,
                                      long child, unsigned long, unsigned long) {
    const HWND hwnd = static_cast<HWND>(window);
    if (!hooked || object != OBJID_WINDOW || child != CHILDID_SELF || !hwnd) return;
    if (event == EVENT_OBJECT_DESTROY) {
        hooked->pending_.push_back({EventKind::Destroyed, ToHandle(hwnd)});
        return;
    }
    if (::GetAncestor(hwnd, GA_ROOT) != hwnd) return;  // only top-level windows
    if (event == EVENT_OBJECT_SHOW)
        hooked->pending_.push_back({EventKind::Shown, ToHandle(hwnd)});
    else if (event == EVENT_OBJECT_NAMECHANGE)
        hooked->pending_.push_back({EventKind::Renamed, ToHandle(hwnd)});
}

// A listener may place windows, which queues more events: they wait for the next call.
void Win32Windows::ProcessPendingEvents() {
    if (processing_) return;
    processing_ = true;
    std::deque<Event> events;
    events.swap(pending_);
    for (const Event& event : events) {
        if (!listener_) break;
        if (event.kind == EventKind::Destroyed) {
            listener_->WindowDestroyed(event.window);
            continue;
        }
        const HWND hwnd = ToHwnd(event.window);
        if (::IsWindow(hwnd) && ::IsWindowVisible(hwnd)) listener_->WindowViewable(Describe(hwnd));
    }
    processing_ = false;
}

}  // namespace vardo::platform
