#pragma once

#include <string>
#include <vector>

#include "AtomicFile.h"

namespace vardo {

// A day's run-history file: the memo's lines, each followed by CR LF, in GB18030 (a file that is
// entirely valid UTF-8 is also read).

struct HistoryLoad {
    std::vector<std::string> lines;  // UTF-8
    std::string error;               // non-empty when an existing file could not be read
};

// The lines of the file, split at CR LF, lone LF or lone CR; a missing file gives no lines and
// no error.
HistoryLoad LoadHistoryLines(const std::string& path);

// Writes all lines, replacing the file atomically.
WriteResult SaveHistoryLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace vardo
