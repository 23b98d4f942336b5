#pragma once

#include <chrono>
#include <optional>
#include <vector>

#include "Clock.h"

namespace vardo {

using LocalSeconds = std::chrono::local_seconds;

// Turns drifting one-second timer ticks into every wall-clock second exactly once, in order.
// Seconds are full local date-times, so midnight is simply the next second. Compared with the
// last second handed out:
// - first call (or first after Resume): the current second only;
// - forward by 1..60 s: every second after the last one up to the current one (catch-up);
// - back by up to 3 hours (daylight saving, a time-server step): nothing until the clock has
//   passed the last second handed out, so no second is processed twice;
// - the same second again: nothing;
// - any larger jump either way: the current second only.
class SecondSequencer {
  public:
    static constexpr std::chrono::seconds kMaxCatchUp{60};
    static constexpr std::chrono::hours kMaxStepBack{3};

    // The seconds to process at this tick, oldest first.
    std::vector<LocalSeconds> Advance(LocalTime now);

    // Forgets the last second, so the seconds that passed meanwhile (the edit state) are not
    // caught up: the next Advance yields only its current second.
    void Resume() { last_.reset(); }

  private:
    std::optional<LocalSeconds> last_;
};

}  // namespace vardo
