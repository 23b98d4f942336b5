#include "Clock.h"

#include <ctime>

namespace vardo {

LocalTime SystemClock::Now() const {
    return std::chrono::floor<std::chrono::milliseconds>(PreciseNow());
}

PreciseLocalTime SystemClock::PreciseNow() const {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto wholeSeconds = floor<seconds>(now);
    const std::time_t time = system_clock::to_time_t(wholeSeconds);
    std::tm local{};
    localtime_r(&time, &local);
    return local_days{year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday} +
           hours{local.tm_hour} + minutes{local.tm_min} + seconds{local.tm_sec} +
           duration_cast<nanoseconds>(now - wholeSeconds);
}

namespace {
const SystemClock systemClock;
const Clock* installedClock = nullptr;
}  // namespace

const Clock& CurrentClock() {
    return installedClock ? *installedClock : systemClock;
}

void SetClock(const Clock* clock) {
    installedClock = clock;
}

}  // namespace vardo
