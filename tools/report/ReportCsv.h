#pragma once

#include <string>
#include <vector>

#include "AsRun.h"

namespace vardo {

// The as-run report as CSV: UTF-8 with a byte-order mark (so spreadsheet programs read the
// Chinese texts), a header line, then one line per entry of each day; lines end in CR LF and a
// field holding a comma, a double quote or a line break is quoted.
std::string ReportCsv(const std::vector<AsRunDay>& days);

}  // namespace vardo
