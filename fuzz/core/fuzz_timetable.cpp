// The timetable reader must accept any bytes: no crash, no read outside the input, and a table
// that keeps its shape (at least one task row, every row as wide as the table); and so must the
// check of a timetable that arrives as a file.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "TaskTable.h"
#include "TimeText.h"
#include "TimetableFile.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    vardo::TaskTable table;
    vardo::LoadTableFromBytes(table, bytes);
    Require(table.RowCount() >= 2);
    Require(table.ColCount() >= vardo::kStandardColumnCount);
    for (int row = 0; row < table.RowCount(); ++row) {
        Require(static_cast<int>(table.Row(row).size()) == table.ColCount());
        vardo::TimeTextToSeconds(table.Cell(vardo::ColStartTime, row));
    }

    vardo::TaskTable narrow;
    narrow.SetColCount(3);
    vardo::LineToRow(bytes, narrow, 1);
    Require(static_cast<int>(narrow.Row(1).size()) == 3);
    vardo::RowToLine(table, 1);

    // A timetable arriving as a file is taken only whole: never empty, never cut within a line.
    if (vardo::TimetableTextProblem(bytes).empty()) Require(!bytes.empty() && bytes.back() == '\n');
    return 0;
}
