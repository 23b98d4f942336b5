#include "Station.h"

#include "SessionEndMessages.h"
#include "Win32Processes.h"
#include "Win32Windows.h"

namespace vardo {

// Tasks start from the program's own environment, as CreateProcess passes it on: nothing to keep.
struct Station::Session {};

struct Station::Services {
    platform::Win32Processes processes;
    platform::Win32Windows windows;
    SessionEndMessages sessionEnd;
};

Station::Station() = default;

Station::~Station() = default;

void Station::Open(const platform::ProgramPlace&) {
    services_ = std::make_unique<Services>();
}

platform::Processes& Station::Processes() {
    return services_->processes;
}

platform::Windows& Station::Windows() {
    return services_->windows;
}

void Station::ForwardSessionEnd(std::function<void()> onSessionEnd) {
    services_->sessionEnd.Forward(std::move(onSessionEnd));
}

}  // namespace vardo
