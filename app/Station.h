#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "ProgramPlace.h"
#include "SessionEndRelay.h"

namespace vardo {

namespace platform {
class Processes;
class Windows;
}  // namespace platform

// What the program takes from the system it runs on: how tasks are started and ended, how their
// windows are found and placed, and how the session's end is told (signals on Linux, the end
// session messages on Windows). Made before the QApplication, which it may prepare for (on a
// Wayland session the program's own windows go to XWayland); opened after it, before the main
// window, whose start-up can already start tasks.
class Station {
  public:
    Station();
    ~Station();
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    // Takes the system's services into use, with the settings of the program at place.
    void Open(const platform::ProgramPlace& place);

    // Once open:
    platform::Processes& Processes() { return *processes_; }
    platform::Windows& Windows() { return *windows_; }
    // Who is told of the session's end from now on; one told before it is set ends every event
    // loop at once and is told as soon as it is set.
    void ForwardSessionEnd(std::function<void()> onSessionEnd) {
        sessionEnd_->Forward(std::move(onSessionEnd));
    }

  private:
    struct Services;
    struct Session;
    std::unique_ptr<Session> session_;
    std::unique_ptr<Services> services_;
    platform::Processes* processes_ = nullptr;
    platform::Windows* windows_ = nullptr;
    SessionEndRelay* sessionEnd_ = nullptr;
};

}  // namespace vardo
