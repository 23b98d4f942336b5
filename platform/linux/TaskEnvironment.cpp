#include "TaskEnvironment.h"

#include <algorithm>
#include <array>
#include <utility>

extern char** environ;

namespace vardo::platform {
namespace {

// What each toolkit reads to choose its window system. mpv, VLC without its interface and Chromium
// read nothing of the kind: they take command-line options (see the README).
constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kX11Toolkits{{
    {"GDK_BACKEND", "x11"},                   // GTK 3 and 4
    {"QT_QPA_PLATFORM", "xcb"},               // Qt 5 and 6, VLC's interface and its video
    {"SDL_VIDEODRIVER", "x11"},               // SDL 2
    {"SDL_VIDEO_DRIVER", "x11"},              // SDL 3
    {"CLUTTER_BACKEND", "x11"},               // Clutter
    {"MOZ_ENABLE_WAYLAND", "0"},              // Firefox, Thunderbird
    {"ELECTRON_OZONE_PLATFORM_HINT", "x11"},  // Electron 28 and later
}};

bool HasName(std::string_view entry, std::string_view name) {
    return entry.size() > name.size() && entry.starts_with(name) && entry[name.size()] == '=';
}

}  // namespace

Environment CurrentEnvironment() {
    Environment environment;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry)
        environment.emplace_back(*entry);
    return environment;
}

std::string_view EnvironmentValue(const Environment& environment, std::string_view name) {
    for (const std::string& entry : environment) {
        if (HasName(entry, name)) return std::string_view(entry).substr(name.size() + 1);
    }
    return {};
}

bool IsWaylandSessionWithX(const Environment& environment) {
    return !EnvironmentValue(environment, "WAYLAND_DISPLAY").empty() &&
           !EnvironmentValue(environment, "DISPLAY").empty();
}

Environment TaskEnvironment(const Environment& session, bool tasksOnX11) {
    if (!tasksOnX11 || !IsWaylandSessionWithX(session)) return session;
    Environment environment = session;
    for (const auto& [name, value] : kX11Toolkits) {
        if (!EnvironmentValue(environment, name).empty()) continue;
        std::erase_if(environment,
                      [name](const std::string& entry) { return HasName(entry, name); });
        environment.push_back(std::string(name) + "=" + std::string(value));
    }
    return environment;
}

bool OwnWindowsNeedXcb(const Environment& session) {
    return IsWaylandSessionWithX(session) && EnvironmentValue(session, "QT_QPA_PLATFORM").empty();
}

}  // namespace vardo::platform
