#pragma once

#include <chrono>

#include "Clock.h"

namespace vardo::test {

// A clock that stands still until the test moves it. Installs itself as the current clock for
// its lifetime.
class ManualClock final : public Clock {
  public:
    explicit ManualClock(LocalTime start) : now_(start) { SetClock(this); }
    ~ManualClock() override { SetClock(nullptr); }
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    LocalTime Now() const override { return now_; }
    void Set(LocalTime t) { now_ = t; }
    void Advance(std::chrono::milliseconds d) { now_ += d; }
    void AdvanceSecond() { now_ += std::chrono::seconds(1); }

  private:
    LocalTime now_;
};

// LocalTime of a calendar date and time of day, for readable tests.
inline LocalTime At(int year, unsigned month, unsigned day, int hour = 0, int minute = 0,
                    int second = 0, int millisecond = 0) {
    using namespace std::chrono;
    return local_days{std::chrono::year{year} / month / day} + hours{hour} + minutes{minute} +
           seconds{second} + milliseconds{millisecond};
}

}  // namespace vardo::test
