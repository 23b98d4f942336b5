#pragma once

#include <functional>
#include <memory>

#include "ProgramPlace.h"

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

    platform::Processes& Processes();
    platform::Windows& Windows();

    // Who is told of the session's end from now on; one told before it is set ends every event
    // loop at once and is told as soon as it is set.
    void ForwardSessionEnd(std::function<void()> onSessionEnd);

  private:
    struct Services;
    struct Session;
    std::unique_ptr<Session> session_;
    std::unique_ptr<Services> services_;
};

}  // namespace vardo
