// The history reader and the as-run matcher must accept any bytes: no crash, no read outside the
// input, and a report that answers every row once and every start of the day once.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "AsRun.h"
#include "TaskTable.h"
#include "TextCodec.h"
#include "TextFields.h"
#include "TimetableFile.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = vardo::DecodeFileText(bytes);
    std::vector<std::string> lines;
    for (const vardo::TextLine& line : vardo::SplitLines(text)) lines.emplace_back(line.text);
    const vardo::HistoryFileEvents file = vardo::ParseHistoryFile(lines);
    Require(file.events.size() + static_cast<std::size_t>(file.skippedLines + file.noticeLines) ==
            lines.size());
    Require(file.spillBegin <= file.events.size());

    // Rows from the same bytes read as a timetable, and rows for the tasks the history names,
    // planned at the seconds of other lines, so that the matcher has pairs to choose from.
    vardo::TaskTable table;
    vardo::LoadTableFromBytes(table, bytes);
    std::vector<vardo::PlannedRow> rows = vardo::PlannedRows(table);
    std::set<std::string_view> named;
    for (std::size_t i = 0; i < file.events.size() && rows.size() < 64; ++i) {
        const vardo::HistoryEvent& event = file.events[i];
        if (!named.insert(event.subject).second) continue;
        const int planned = file.events[file.events.size() - 1 - i].seconds;
        rows.push_back({static_cast<int>(rows.size()) + 1000, std::string(event.Application()),
                        std::string(event.Description()), planned, planned + 60});
    }

    const std::vector<vardo::AsRunEntry> entries =
        vardo::MatchAsRun(rows, file.OwnDay(), file.NextDay());
    std::size_t starts = 0;
    for (const vardo::HistoryEvent& event : file.OwnDay())
        starts += event.kind == vardo::HistoryEventKind::Start;
    std::size_t answered = 0;
    Require(entries.size() >= rows.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const vardo::AsRunEntry& entry = entries[i];
        Require(i < rows.size() ? entry.row == rows[i].row : entry.row == 0 && entry.actualStart);
        Require(entry.runSeconds >= 0);
        Require(!entry.actualEnd || entry.actualStart);
        answered += entry.actualStart.has_value();
    }
    Require(answered == starts);
    return 0;
}
