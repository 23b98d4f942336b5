#pragma once

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <ostream>

#include "Windows.h"

namespace vardo::platform {

// How GoogleTest shows a rectangle in a failure.
inline void PrintTo(const Rect& rect, std::ostream* out) {
    *out << "(" << rect.left << "," << rect.top << " " << rect.width << "x" << rect.height << ")";
}

}  // namespace vardo::platform

namespace vardo::test {

// Runs the event side of a Windows object as the program's event loop does (events as they
// arrive, placement steps when due) until `done` holds; false when the time ran out first.
inline bool RunWindowEventsUntil(platform::Windows& windows, const std::function<bool()>& done,
                                 std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    const int descriptor = windows.EventDescriptor();
    for (;;) {
        windows.ProcessPendingEvents();
        if (done()) return true;
        const auto now = Clock::now();
        if (now >= deadline) return false;
        // Short waits, so that `done` is looked at again even when it watches something else.
        auto wake = std::min(deadline, now + std::chrono::milliseconds(5));
        if (const auto step = windows.NextDeadline()) wake = std::min(wake, *step);
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(wake - now);
        pollfd entry{descriptor, POLLIN, 0};
        poll(&entry, descriptor < 0 ? 0 : 1, static_cast<int>(std::max<long>(0, wait.count())));
    }
}

}  // namespace vardo::test
