#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vardo::platform {

// A process environment: "NAME=value" entries, as in environ.
using Environment = std::vector<std::string>;

// The program's own environment as it is now.
Environment CurrentEnvironment();

// The value of a variable; empty when it is absent.
std::string_view EnvironmentValue(const Environment& environment, std::string_view name);

// A Wayland session whose X server (XWayland) can be reached: WAYLAND_DISPLAY and DISPLAY are both
// set. Only X clients' windows can be found and placed there.
bool IsWaylandSessionWithX(const Environment& environment);

// The environment tasks start with. On a Wayland session with XWayland and with `tasksOnX11`, the
// session's environment plus the variables that make the common toolkits (GTK, Qt, SDL, Clutter,
// Firefox, Electron) open X11 windows, each added only where the session does not set it itself
// (an empty value counts as not set, as the toolkits read it); otherwise the session's environment
// unchanged.
Environment TaskEnvironment(const Environment& session, bool tasksOnX11);

// Whether the program's own windows are to be put on xcb: a Wayland session with XWayland where
// the operator has chosen no Qt platform. Placement and the main window's centring need X there.
bool OwnWindowsNeedXcb(const Environment& session);

}  // namespace vardo::platform
