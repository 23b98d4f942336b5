#include "SystemServices.h"

#include <windows.h>

#include "WideText.h"

namespace vardo::platform {

// The system-wide switch for this session only: neither stored in the profile nor broadcast.
void SetFontSmoothing(bool on) {
    UINT scratch = 0;
    ::SystemParametersInfoW(SPI_SETFONTSMOOTHING, on ? 1 : 0, &scratch, 0);
}

bool HasHighResolutionCounter() {
    LARGE_INTEGER frequency{};
    return ::QueryPerformanceFrequency(&frequency) != 0 && frequency.QuadPart != 0;
}

// Ending a task needs no privilege beyond the handle its start gave: nothing to adjust.
bool EnableDebugPrivilege(bool) {
    return true;
}

std::string ProgramFilePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return Utf8Text(path);
        }
        path.resize(path.size() * 2);  // a long path: try again with more room
    }
}

}  // namespace vardo::platform
