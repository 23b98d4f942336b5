#pragma once

#include <string_view>
#include <vector>

#include "Windows.h"

namespace vardo {

// Where a row's settings put one task window: the monitor named by the row's monitor cell, and
// the window setting's two fields (keep the size; else fill the monitor or hide).
struct WindowPlacement {
    enum class Kind {
        Move,  // keeps its size: moved to the rectangle's corner and raised
        Fill,  // covers the whole monitor
        Hide,  // withdrawn, then given the rectangle
    };
    Kind kind = Kind::Move;
    platform::Rect rect;
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// The placement of a window whose outer rectangle is `window`, among `monitors` (not empty).
// The monitor is the one whose 1-based number, in decimal, is the monitor cell; the first
// otherwise. Keeping its size, the window keeps its position within the monitor it lies on,
// carried over to the row's monitor and kept inside it; hidden, it is shifted by the same
// amount and given the monitor's size.
WindowPlacement PlaceOnMonitor(const platform::Rect& window,
                               const std::vector<platform::Rect>& monitors,
                               std::string_view monitorCell, std::string_view windowSetting);

// Whether the window setting shows a task's windows: keeping their size or filling the monitor.
bool SettingShowsWindows(std::string_view windowSetting);

}  // namespace vardo
