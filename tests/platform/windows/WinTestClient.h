#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "TempFolder.h"
#include "Utf8Path.h"
#include "WideText.h"

namespace vardo::test {

// The Win32 test client, built beside the tests: its full path in UTF-8.
inline std::string WinTestClientPath() {
    wchar_t self[MAX_PATH * 4] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
    return PathUtf8(std::filesystem::path(self).parent_path() / L"wintestclient.exe");
}

// The command line that starts the client with the given options, its path quoted.
inline std::string WinTestClientCommand(const std::string& options) {
    return "\"" + WinTestClientPath() + "\" " + options;
}

// Waits up to `limit` for a file the client writes (its --ready file) and returns its text.
inline std::string WaitForFile(const std::string& path,
                               std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        std::error_code error;
        if (std::filesystem::exists(Utf8Path(path), error)) return ReadBytes(path);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return {};
}

}  // namespace vardo::test
