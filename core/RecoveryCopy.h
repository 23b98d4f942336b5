#pragma once

#include <string>
#include <vector>

#include "Clock.h"
#include "TaskTable.h"

namespace vardo {

// Where the edits that a failed save could not write go before a load replaces them.
struct RecoveryCopy {
    std::string path;   // the file written; empty when no folder took it
    std::string error;  // why the last folder tried failed

    explicit operator bool() const { return !path.empty(); }
};

// Writes the table as SaveTable does, to "<timetable name>-未保存-YYYYMMDD-HHMMSS.tab" (the
// timetable's file name without ".tab", the moment `now`) in the first of `folders` where the
// write succeeds. Each folder ends in '/' and is created when missing.
RecoveryCopy SaveRecoveryCopy(const TaskTable& table, const std::string& tablePath,
                              const std::vector<std::string>& folders, LocalTime now);

}  // namespace vardo
