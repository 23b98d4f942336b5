#pragma once

#include <functional>

namespace vardo {

// Carries the session's end to its receiver. The program's end is made up before the main window
// exists, whose start-up can already start tasks while a box of its own waits: an end told before
// a receiver is set ends every running event loop (the box is never answered) and is told to the
// receiver as soon as it is set.
class SessionEndRelay {
  public:
    // Who is told of the session's end from now on.
    void Forward(std::function<void()> onSessionEnd);
    void Tell();

  private:
    std::function<void()> onSessionEnd_;
    bool pending_ = false;
};

}  // namespace vardo
