#include "SystemServices.h"

#include <time.h>
#include <unistd.h>

#include <array>

namespace vardo::platform {

void SetFontSmoothing(bool) {}

// A kernel without high-resolution timers reports a resolution of a few milliseconds, yet its
// monotonic clock still reads the machine's counter; nothing uses the resolution, so a coarse
// one must not stop the program.
bool HasHighResolutionCounter() {
    timespec resolution{};
    return clock_getres(CLOCK_MONOTONIC, &resolution) == 0;
}

bool EnableDebugPrivilege(bool) {
    return true;
}

std::string ProgramFilePath() {
    std::array<char, 4096> buffer{};
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) == buffer.size()) return {};
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

}  // namespace vardo::platform
