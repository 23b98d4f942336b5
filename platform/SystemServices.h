#pragma once

#include <string>

namespace vardo::platform {

// Start-up services the main window asks of the system.

// Font smoothing. On Windows the system's switch (SPI_SETFONTSMOOTHING), for this session only;
// on X11 a per-application matter (the program renders its own text antialiased), with no
// system-wide switch to turn on, so this does nothing there.
void SetFontSmoothing(bool on);

// Whether the machine has a high-resolution counter (QueryPerformanceFrequency on Windows, a
// monotonic clock on Linux), checked at start-up.
bool HasHighResolutionCounter();

// Nothing needs adjusting: a process may always signal its own tasks through their handles.
bool EnableDebugPrivilege(bool enable);

// Full path of the running program file; empty when it cannot be read.
std::string ProgramFilePath();

}  // namespace vardo::platform
