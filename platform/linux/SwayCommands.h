#pragma once
#include <optional>
#include <string>

#include "Windows.h"

namespace vardo::platform {

// sway, the wlroots compositor, keeps the X windows of its XWayland out of the X clients' hands:
// it ignores _NET_MOVERESIZE_WINDOW and the position in a configure request. Its IPC socket
// ($SWAYSOCK, set in the session of its children) takes commands that do: these build them and
// send them.

// Makes the X window floating and borderless, sizes it (when `resize`) and moves it to the
// rectangle's corner in the layout, where XWayland's coordinates are.
std::string SwayPlacementCommand(WindowHandle window, const Rect& rect, bool resize);

// Sends a command to the IPC socket at `socketPath` and waits (briefly) for the answer. Returns
// nothing when every part of the command succeeded, else what went wrong.
std::optional<std::string> RunSwayCommand(const std::string& socketPath, const std::string& command);

// What went wrong according to sway's answer to a command (a JSON array of one result per part):
// nothing when every part succeeded, else the first error sway gave.
std::optional<std::string> SwayCommandError(const std::string& answer);

}  // namespace vardo::platform
