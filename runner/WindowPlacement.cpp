#include "WindowPlacement.h"

#include <algorithm>
#include <string>

#include "TaskTable.h"
#include "TextFields.h"

namespace vardo {

namespace {

constexpr std::string_view kMaximise = "最大";

// How much of two rectangles lies on both.
long long OverlapArea(const platform::Rect& a, const platform::Rect& b) {
    const long long width = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
    const long long height = std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

// The monitor a window lies on: the one it covers most; the first when it covers none.
platform::Rect MonitorOf(const platform::Rect& window,
                         const std::vector<platform::Rect>& monitors) {
    platform::Rect best = monitors.front();
    long long bestArea = 0;
    for (const platform::Rect& monitor : monitors) {
        const long long area = OverlapArea(window, monitor);
        if (area > bestArea) {
            best = monitor;
            bestArea = area;
        }
    }
    return best;
}

// Keeps a value within [low, high]; low wins when the range is empty (a window larger than the
// monitor keeps its top-left corner on it).
int Within(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

bool KeepsSize(std::string_view windowSetting) {
    return GetField(windowSetting, ",", 1) == kYes;
}

bool FillsMonitor(std::string_view windowSetting) {
    return GetField(windowSetting, ",", 2) == kMaximise;
}

}  // namespace

WindowPlacement PlaceOnMonitor(const platform::Rect& window,
                               const std::vector<platform::Rect>& monitors,
                               std::string_view monitorCell, std::string_view windowSetting) {
    platform::Rect monitor = monitors.front();
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        if (monitorCell == std::to_string(i + 1)) monitor = monitors[i];
    }
    // The window's place within the monitor it lies on, carried over to the row's monitor. A
    // window on a monitor at the desktop's origin is shifted by the row's monitor's origin.
    const platform::Rect home = MonitorOf(window, monitors);
    const int left = monitor.left + window.left - home.left;
    const int top = monitor.top + window.top - home.top;
    if (KeepsSize(windowSetting)) {
        return {WindowPlacement::Kind::Move,
                {Within(left, monitor.left, monitor.left + monitor.width - window.width),
                 Within(top, monitor.top, monitor.top + monitor.height - window.height),
                 window.width, window.height}};
    }
    if (FillsMonitor(windowSetting)) return {WindowPlacement::Kind::Fill, monitor};
    return {WindowPlacement::Kind::Hide, {left, top, monitor.width, monitor.height}};
}

bool SettingShowsWindows(std::string_view windowSetting) {
    return KeepsSize(windowSetting) || FillsMonitor(windowSetting);
}

}  // namespace vardo
