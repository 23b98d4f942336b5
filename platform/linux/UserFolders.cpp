#include "UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace vardo::platform {

namespace {

std::string BaseFolder(const char* variable, const char* underHome) {
    if (const char* value = std::getenv(variable); value && value[0] == '/') return value;
    return HomeFolder() + underHome;
}

}  // namespace

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return "/";
}

std::string ConfigFolder() {
    return BaseFolder("XDG_CONFIG_HOME", "/.config");
}

std::string DataFolder() {
    return BaseFolder("XDG_DATA_HOME", "/.local/share");
}

std::string StateFolder() {
    return BaseFolder("XDG_STATE_HOME", "/.local/state");
}

std::string InstalledProgramFolder() {
    return DataFolder() + "/vardo";
}

}  // namespace vardo::platform
