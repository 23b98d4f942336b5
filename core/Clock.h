#pragma once

#include <chrono>

namespace vardo {

// Local wall-clock time with millisecond resolution; local_time carries no time zone, so
// date arithmetic on it is plain calendar arithmetic (midnight is simply the next second).
using LocalTime = std::chrono::local_time<std::chrono::milliseconds>;
// The same in the system clock's finest steps, for measuring how late something came.
using PreciseLocalTime = std::chrono::local_time<std::chrono::nanoseconds>;

// The one source of wall-clock time. The program uses the system clock; tests install a clock
// they control and advance it second by second.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
    // Now in finer steps; Now() of the same moment is this cut to the millisecond.
    virtual PreciseLocalTime PreciseNow() const { return Now(); }
};

class SystemClock final : public Clock {
  public:
    LocalTime Now() const override;
    PreciseLocalTime PreciseNow() const override;
};

// The clock every part of the program reads. Never null: the system clock unless a test
// installed another one with SetClock (which it must keep alive while installed).
const Clock& CurrentClock();
void SetClock(const Clock* clock);  // nullptr restores the system clock

}  // namespace vardo
