#include "Clock.h"

#include <ctime>

namespace vardo {

LocalTime SystemClock::Now() const {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t wholeSeconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&wholeSeconds, &local);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()) % 1000;
    return local_days{year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday} +
           hours{local.tm_hour} + minutes{local.tm_min} + seconds{local.tm_sec} +
           milliseconds{millis.count() < 0 ? millis.count() + 1000 : millis.count()};
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
