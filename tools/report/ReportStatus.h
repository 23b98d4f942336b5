#pragma once

#include "AsRun.h"

namespace vardo {

// What became of a report entry, as the CSV's status column and the picture's colours tell it.
enum class EntryStatus {
    Ran,        // started on time
    Late,       // started kLateStartSeconds or more after its planned start
    Missed,     // planned, the history went past its start, and it never started
    Pending,    // planned, and the history has not reached its start yet
    Unplanned,  // a start no timetable row explains
    Idle,       // a row without a start time that was not started by hand
};

// A start this many seconds or more after the planned one counts as late.
inline constexpr int kLateStartSeconds = 10;

EntryStatus StatusOf(const AsRunEntry& entry);

}  // namespace vardo
