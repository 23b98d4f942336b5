#pragma once

#include <string>

namespace vardo::platform {

// Start with the desktop session. The registry value `name` under the run key is stood in for by
// the XDG autostart entry $XDG_CONFIG_HOME/autostart/<name>.desktop (default ~/.config/autostart)
// whose Exec= line holds the program file path.

// The entry file a value name maps to.
std::string AutoStartEntryPath(const std::string& name);

// Whether the entry exists, is not disabled and starts exactly programPath (no arguments; the
// comparison is case-sensitive, byte for byte).
bool RegReadEquals(const std::string& name, const std::string& programPath);

// Writes (or replaces) the entry so that it starts programPath. The previous entry is replaced
// atomically and the new one is on disk before it takes its place, so a power cut never leaves an
// empty entry; when the folder or file cannot be written (a read-only entry included) the entry is
// left as it is and false is returned (the settings dialog ignores it).
bool RegWriteText(const std::string& name, const std::string& programPath);

// Removes the entry; an absent or undeletable entry is left as it is.
void RegDeleteName(const std::string& name);

}  // namespace vardo::platform
