#include "ReportCsv.h"

#include <initializer_list>
#include <string_view>

#include "ReportStatus.h"
#include "TimeText.h"

namespace vardo {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kHeader =
    "date,row,application,description,planned_start,planned_end,actual_start,actual_end,"
    "end_kind,run_seconds,start_delay_seconds,status";

void AppendField(std::string& csv, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        csv += field;
        return;
    }
    csv += '"';
    for (const char c : field) {
        if (c == '"') csv += '"';
        csv += c;
    }
    csv += '"';
}

// A text that begins with one of these is taken for a formula by spreadsheet programs; a leading
// apostrophe makes it plain text there.
std::string SpreadsheetText(std::string_view text) {
    if (text.empty() || std::string_view("=+-@").find(text.front()) == std::string_view::npos)
        return std::string(text);
    return "'" + std::string(text);
}

void AppendLine(std::string& csv, std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first) csv += ',';
        first = false;
        AppendField(csv, field);
    }
    csv += "\r\n";
}

std::string OptionalTime(const std::optional<std::int64_t>& seconds) {
    return seconds ? SecondsToTimeText(*seconds) : "";
}

std::string_view EndKindText(EndKind kind) {
    switch (kind) {
        case EndKind::Ended:
            return "ended";
        case EndKind::Exited:
            return "exited";
        case EndKind::None:
            break;
    }
    return "none";
}

std::string_view StatusText(EntryStatus status) {
    switch (status) {
        case EntryStatus::Ran:
            return "ran";
        case EntryStatus::Late:
            return "late";
        case EntryStatus::Missed:
            return "missed";
        case EntryStatus::Pending:
            return "pending";
        case EntryStatus::Unplanned:
            return "unplanned";
        case EntryStatus::Idle:
            break;
    }
    return "";
}

void AppendEntry(std::string& csv, const std::string& date, const AsRunEntry& entry) {
    // An end after midnight keeps counting the hours ("24:00:20"), so that it orders after the
    // day's other times.
    const std::optional<std::int64_t> delay = entry.StartDelay();
    AppendLine(csv, {date, entry.row > 0 ? std::to_string(entry.row) : "",
                     SpreadsheetText(entry.application), SpreadsheetText(entry.description),
                     OptionalTime(entry.plannedStart), OptionalTime(entry.plannedEnd),
                     OptionalTime(entry.actualStart), OptionalTime(entry.actualEnd),
                     EndKindText(entry.endKind), std::to_string(entry.runSeconds),
                     delay ? std::to_string(*delay) : "", StatusText(StatusOf(entry))});
}

}  // namespace

std::string ReportCsv(const std::vector<AsRunDay>& days) {
    std::string csv(kByteOrderMark);
    csv += kHeader;
    csv += "\r\n";
    for (const AsRunDay& day : days) {
        const std::string date = DateText(true, day.date);
        for (const AsRunEntry& entry : day.entries) AppendEntry(csv, date, entry);
    }
    return csv;
}

}  // namespace vardo
