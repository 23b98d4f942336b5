#pragma once

// What the end-to-end tests on every system share: the timetable's lines, local times of day, and
// starting the program ahead of the first second its timetable schedules.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>

namespace vardo::test {

// A timetable file's line for one row: its sixteen cells joined by "^^", ended by CR LF.
inline std::string TimetableLine(const std::array<std::string, 16>& cells) {
    std::string line;
    for (const std::string& cell : cells) line += (line.empty() ? "" : "^^") + cell;
    return line + "\r\n";
}

inline std::tm LocalTime(std::time_t when) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    return local;
}

// The local wall-clock time `ahead` from now, formatted from hour, minute and second.
inline std::string LocalTimeText(std::time_t from, int aheadSeconds, const char* format) {
    const std::tm local = LocalTime(from + aheadSeconds);
    char text[32];
    std::snprintf(text, sizeof text, format, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

// The name of the day's history file: YYYYMMDD.txt.
inline std::string HistoryFileName(std::time_t day) {
    const std::tm local = LocalTime(day);
    char name[16];
    std::strftime(name, sizeof name, "%Y%m%d.txt", &local);
    return name;
}

// Starts the program so that the first second its files schedule something comes after it is
// up, however long a loaded machine takes to start it. `writeFiles(first)` writes the folder's
// files with their events from the wall-clock second `first` on; `startAndWait()` starts the
// program and tells whether its main window showed within a minute; `stop()` ends it and clears
// what it wrote. When the program came up too late for the second, it is started again with its
// files written afresh for a later one. Returns the second used, 0 when it never came up in time.
inline std::time_t StartAhead(const std::function<void(std::time_t first)>& writeFiles,
                              const std::function<bool()>& startAndWait,
                              const std::function<void()>& stop) {
    // Up at least this long before the first event, so its clock has started by then.
    constexpr int kUpBeforeFirstEvent = 1;
    int leadSeconds = 3;
    for (int attempt = 0; attempt < 4; ++attempt) {
        const auto launched = std::chrono::steady_clock::now();
        const std::time_t first = std::time(nullptr) + leadSeconds;
        writeFiles(first);
        if (!startAndWait()) break;
        if (std::time(nullptr) + kUpBeforeFirstEvent < first) return first;
        const auto upSeconds =
            std::chrono::ceil<std::chrono::seconds>(std::chrono::steady_clock::now() - launched);
        stop();
        leadSeconds = static_cast<int>(upSeconds.count()) * 2 + kUpBeforeFirstEvent + 1;
    }
    ADD_FAILURE() << "vardo did not come up in time for its timetable";
    return 0;
}

}  // namespace vardo::test
