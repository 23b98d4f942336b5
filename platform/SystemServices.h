#pragma once

#include <string>

namespace vardo::platform {

// Start-up services the main window asks of the system.

// Font smoothing is a per-application matter on X11 (the program renders its own text
// antialiased); there is no system-wide switch to turn on, so this does nothing.
void SetFontSmoothing(bool on);

// Whether the machine has a monotonic counter, the stand-in for the performance counter check
// at start-up.
bool HasHighResolutionCounter();

// Nothing needs adjusting: a process may always signal its own tasks through their handles.
bool EnableDebugPrivilege(bool enable);

// Full path of the running program file; empty when it cannot be read.
std::string ProgramFilePath();

}  // namespace vardo::platform
