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
    processes_ = &services_->processes;
    windows_ = &services_->windows;
    sessionEnd_ = &services_->sessionEnd;
}

}  // namespace vardo
