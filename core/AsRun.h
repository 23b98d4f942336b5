#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "TaskTable.h"

namespace vardo {

// The as-run record of a program folder: what the run-history files say was started and ended,
// set against the rows of the timetable that applied each day.

enum class HistoryEventKind { Start, End, Exit };

// One history line read back.
struct HistoryEvent {
    int seconds = 0;  // time of day of the line
    HistoryEventKind kind = HistoryEventKind::Start;
    std::string subject;  // application file + kSubjectSeparator + description, as logged

    std::string_view Application() const;
    std::string_view Description() const;
};

// The event of a history line; nothing when the line is not one: the wrong shape, or a time
// that is not HH:MM:SS of a day.
std::optional<HistoryEvent> ParseHistoryLine(std::string_view line);

// Earlier versions of the program switched to the new day's file at their first minute tick after
// midnight, so the lines of that first minute landed at the end of the previous day's file; such
// files are still read right. Events after the file's last step back in time belong to the next
// day when they all lie this close after midnight: the interval of the minute tick, with one
// interval of slack for a busy machine.
inline constexpr int kMidnightSpillSeconds = 120;

// A history file's events, in file order.
struct HistoryFileEvents {
    std::vector<HistoryEvent> events;
    std::size_t spillBegin = 0;  // the events from here on belong to the next day
    int skippedLines = 0;        // lines that are not history lines
    // History lines that are no event: the program's notices, and the start lines of launches
    // that created no process (taken back by the notice after them).
    int noticeLines = 0;

    std::span<const HistoryEvent> OwnDay() const;
    std::span<const HistoryEvent> NextDay() const;
};

HistoryFileEvents ParseHistoryFile(const std::vector<std::string>& lines);

// A timetable row that names an application file.
struct PlannedRow {
    int row = 0;
    std::string application;
    std::string description;
    // Seconds of the day as the schedule scan reads the cell; nothing for an empty cell.
    std::optional<std::int64_t> start;
    std::optional<std::int64_t> end;
};

std::vector<PlannedRow> PlannedRows(const TaskTable& table);

enum class EndKind { None, Ended, Exited };

// One planned row of a day with the run that answers it, or a start no row explains (row 0).
struct AsRunEntry {
    int row = 0;
    std::string application;
    std::string description;
    std::optional<std::int64_t> plannedStart;
    std::optional<std::int64_t> plannedEnd;
    std::optional<int> actualStart;
    // Seconds from the day's midnight: 86400 and above for a run that ended after midnight.
    std::optional<int> actualEnd;
    EndKind endKind = EndKind::None;
    int runSeconds = 0;
    // A planned start the history has not reached yet: today's after its last line, or any of a
    // later day. Not started, it is not (yet) missed.
    bool pending = false;

    // Actual minus planned start, when both are known.
    std::optional<std::int64_t> StartDelay() const;
};

// Matches a day's events to its rows. Each start opens a run; each end or exit closes the oldest
// open run of its subject; a run still open at the end of the day is closed by the first end of
// its subject in `nextDay` before that subject starts again there, and otherwise runs until the
// day's last line. Rows and runs of the same subject are paired nearest start first. The result
// holds every row in table order, then every run no row explains in the order of its start.
std::vector<AsRunEntry> MatchAsRun(const std::vector<PlannedRow>& rows,
                                   std::span<const HistoryEvent> day,
                                   std::span<const HistoryEvent> nextDay);

struct AsRunDay {
    std::chrono::year_month_day date;
    std::string timetablePath;  // the file the program's daily choice gives for the date
    bool historyFound = false;  // whether the day's history file exists
    std::vector<AsRunEntry> entries;
};

// A history file that had lines skipped or could not be read.
struct HistoryFileNote {
    std::string path;
    int skippedLines = 0;
    std::string error;
};

// Reads the days of a program folder, each history file once.
class AsRunFolder {
  public:
    explicit AsRunFolder(std::string programFolder);  // ends in '/'

    // Days are best asked for in order: files more than a day behind are let go. Which planned
    // starts are pending follows from the date of CurrentClock().
    AsRunDay Day(std::chrono::year_month_day date);

    const std::vector<HistoryFileNote>& Notes() const { return notes_; }

  private:
    struct HistoryFile {
        bool found = false;
        HistoryFileEvents events;
    };
    const HistoryFile& File(std::chrono::sys_days day);

    std::string programFolder_;
    std::map<std::chrono::sys_days, HistoryFile> files_;
    std::vector<HistoryFileNote> notes_;
};

}  // namespace vardo
