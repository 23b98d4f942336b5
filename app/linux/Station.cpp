#include "Station.h"

#include <cstdlib>

#include "PosixProcesses.h"
#include "SessionEndSignals.h"
#include "SettingsStore.h"
#include "TaskEnvironment.h"
#include "X11Windows.h"

namespace vardo {

// The operator's environment, taken before anything here changes it: tasks start from it.
struct Station::Session {
    platform::Environment environment = platform::CurrentEnvironment();
};

struct Station::Services {
    platform::PosixProcesses processes;
    platform::X11Windows windows;
    SessionEndSignals sessionEnd;
};

Station::Station() : session_(std::make_unique<Session>()) {
    // On a Wayland session the program's windows go to XWayland too, where the window placement
    // and the main window's centring work.
    if (platform::OwnWindowsNeedXcb(session_->environment)) setenv("QT_QPA_PLATFORM", "xcb", 1);
}

Station::~Station() = default;

void Station::Open(const platform::ProgramPlace& place) {
    services_ = std::make_unique<Services>();
    processes_ = &services_->processes;
    windows_ = &services_->windows;
    sessionEnd_ = &services_->sessionEnd;
    // Read once at start-up: the key has no control in the settings dialog.
    const bool tasksOnX11 =
        IsYes(ReadSettingDef(place.settingsFile, "START", "TasksOnX11", "YES"));
    services_->processes.SetEnvironment(
        platform::TaskEnvironment(session_->environment, tasksOnX11));
}

}  // namespace vardo
