#include "AsRun.h"

#include <algorithm>
#include <array>
#include <compare>
#include <cstddef>
#include <cstdlib>
#include <deque>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "HistoryFile.h"
#include "TimeText.h"
#include "TimetableFile.h"

namespace vardo {

namespace {

constexpr int kDaySeconds = 24 * 3600;

constexpr std::array<std::pair<std::string_view, HistoryEventKind>, 3> kEventTexts = {{
    {kStartEventText, HistoryEventKind::Start},
    {kEndEventText, HistoryEventKind::End},
    {kExitEventText, HistoryEventKind::Exit},
}};

// The two-digit number at text[at], when both characters are digits.
std::optional<int> TwoDigits(std::string_view text, std::size_t at) {
    const auto digit = [&](std::size_t i) { return text[i] >= '0' && text[i] <= '9'; };
    if (!digit(at) || !digit(at + 1)) return std::nullopt;
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

// The seconds of an "HH:MM:SS" time of day.
std::optional<int> TimeOfDay(std::string_view text) {
    if (text.size() < 8 || text[2] != ':' || text[5] != ':') return std::nullopt;
    const auto hours = TwoDigits(text, 0);
    const auto minutes = TwoDigits(text, 3);
    const auto seconds = TwoDigits(text, 6);
    if (!hours || !minutes || !seconds || *hours > 23 || *minutes > 59 || *seconds > 59)
        return std::nullopt;
    return *hours * 3600 + *minutes * 60 + *seconds;
}

// The application file and the description of a subject, split at its first separator.
std::pair<std::string_view, std::string_view> SplitSubject(std::string_view subject) {
    const std::size_t separator = subject.find(kSubjectSeparator);
    if (separator == std::string_view::npos) return {subject, {}};
    return {subject.substr(0, separator), subject.substr(separator + kSubjectSeparator.size())};
}

std::optional<std::int64_t> CellSeconds(const std::string& cell) {
    if (cell.empty()) return std::nullopt;
    return TimeTextToSeconds(cell);
}

std::string Subject(const PlannedRow& row) {
    return row.application + std::string(kSubjectSeparator) + row.description;
}

// A start with the end that closed it.
struct Run {
    int start = 0;
    std::string_view subject;
    std::optional<int> end;
    EndKind endKind = EndKind::None;
};

EndKind EndKindOf(HistoryEventKind kind) {
    return kind == HistoryEventKind::Exit ? EndKind::Exited : EndKind::Ended;
}

// Every start of the day as a run, closed by the ends that follow it (oldest open run of the
// subject first), then by the ends of the next day's first events.
std::vector<Run> CollectRuns(std::span<const HistoryEvent> day,
                             std::span<const HistoryEvent> nextDay) {
    std::vector<Run> runs;
    std::unordered_map<std::string_view, std::deque<std::size_t>> open;
    const auto close = [&](const HistoryEvent& event, int dayOffset) {
        const auto found = open.find(event.subject);
        if (found == open.end() || found->second.empty()) return;
        Run& run = runs[found->second.front()];
        found->second.pop_front();
        run.end = event.seconds + dayOffset;
        run.endKind = EndKindOf(event.kind);
    };
    for (const HistoryEvent& event : day) {
        if (event.kind == HistoryEventKind::Start) {
            open[event.subject].push_back(runs.size());
            runs.push_back({event.seconds, event.subject, std::nullopt, EndKind::None});
        } else {
            close(event, 0);
        }
    }
    // Once a subject starts again on the next day, its later ends belong to that start.
    std::unordered_set<std::string_view> startedAgain;
    for (const HistoryEvent& event : nextDay) {
        if (event.kind == HistoryEventKind::Start)
            startedAgain.insert(event.subject);
        else if (!startedAgain.contains(event.subject))
            close(event, kDaySeconds);
    }
    return runs;
}

// A row and a run of one subject that may answer it, by the distance of their starts.
struct Candidate {
    std::int64_t distance = 0;
    std::size_t run = 0;
    std::size_t row = 0;

    auto operator<=>(const Candidate&) const = default;
};

// Pairs of one subject beyond which each row keeps only its nearest runs as candidates: a
// timetable with thousands of rows of one task, against as many starts, would otherwise need
// gigabytes. Below it every pair is considered.
constexpr std::size_t kMaxCandidatesPerSubject = std::size_t{1} << 18;

// The candidates of one row among the runs of its subject (in log order): all of them, or the
// `limit` whose starts lie nearest the row's start (the first ones for a row without a start).
void AddCandidates(const PlannedRow& row, std::size_t rowIndex,
                   const std::vector<std::size_t>& runsOfSubject, const std::vector<Run>& runs,
                   std::size_t limit, std::vector<Candidate>& candidates) {
    const auto distance = [&](std::size_t run) {
        return row.start ? std::abs(runs[run].start - *row.start) : 0;
    };
    if (runsOfSubject.size() <= limit || !row.start) {
        for (std::size_t i = 0; i < std::min(limit, runsOfSubject.size()); ++i)
            candidates.push_back({distance(runsOfSubject[i]), runsOfSubject[i], rowIndex});
        return;
    }
    std::vector<std::size_t> nearest = runsOfSubject;
    std::nth_element(nearest.begin(), nearest.begin() + static_cast<std::ptrdiff_t>(limit),
                     nearest.end(), [&](std::size_t a, std::size_t b) {
                         return std::pair(distance(a), a) < std::pair(distance(b), b);
                     });
    for (std::size_t i = 0; i < limit; ++i)
        candidates.push_back({distance(nearest[i]), nearest[i], rowIndex});
}

// For each row, the index of the run that answers it, pairing the row and run of one subject
// whose starts lie nearest first (then the earlier run, then the upper row).
std::vector<std::optional<std::size_t>> PairRowsWithRuns(const std::vector<PlannedRow>& rows,
                                                         const std::vector<Run>& runs) {
    std::unordered_map<std::string_view, std::vector<std::size_t>> runsOfSubject;
    for (std::size_t run = 0; run < runs.size(); ++run)
        runsOfSubject[runs[run].subject].push_back(run);
    std::unordered_map<std::string, std::vector<std::size_t>> rowsOfSubject;
    for (std::size_t row = 0; row < rows.size(); ++row)
        rowsOfSubject[Subject(rows[row])].push_back(row);

    std::vector<Candidate> candidates;
    for (const auto& [subject, rowsOfOne] : rowsOfSubject) {
        const auto found = runsOfSubject.find(subject);
        if (found == runsOfSubject.end()) continue;
        const std::size_t limit =
            std::max<std::size_t>(1, kMaxCandidatesPerSubject / rowsOfOne.size());
        for (const std::size_t row : rowsOfOne)
            AddCandidates(rows[row], row, found->second, runs, limit, candidates);
    }
    std::sort(candidates.begin(), candidates.end());

    std::vector<std::optional<std::size_t>> runOfRow(rows.size());
    std::vector<bool> runTaken(runs.size(), false);
    for (const Candidate& candidate : candidates) {
        if (runOfRow[candidate.row] || runTaken[candidate.run]) continue;
        runOfRow[candidate.row] = candidate.run;
        runTaken[candidate.run] = true;
    }
    return runOfRow;
}

void FillActual(AsRunEntry& entry, const Run& run, int lastLineSeconds) {
    entry.actualStart = run.start;
    entry.actualEnd = run.end;
    entry.endKind = run.endKind;
    entry.runSeconds = std::max(0, run.end.value_or(lastLineSeconds) - run.start);
}

}  // namespace

std::string_view HistoryEvent::Application() const {
    return SplitSubject(subject).first;
}

std::string_view HistoryEvent::Description() const {
    return SplitSubject(subject).second;
}

namespace {

// The rest of a line after its "  HH:MM:SS" and the seconds of that time, or nothing when the
// line does not start so.
std::optional<std::pair<int, std::string_view>> TimedLine(std::string_view line) {
    constexpr std::string_view kIndent = "  ";
    if (!line.starts_with(kIndent)) return std::nullopt;
    line.remove_prefix(kIndent.size());
    const std::optional<int> seconds = TimeOfDay(line);
    if (!seconds) return std::nullopt;
    return std::pair{*seconds, line.substr(8)};
}

// The application file of a notice line (one that is neither a start nor an end) of this kind,
// or nothing when line is no such notice.
std::optional<std::string_view> NoticeApplication(std::string_view line, std::string_view kind) {
    const auto timed = TimedLine(line);
    if (!timed || !timed->second.starts_with(kind)) return std::nullopt;
    return SplitSubject(timed->second.substr(kind.size())).first;
}

bool IsNoticeLine(std::string_view line) {
    return NoticeApplication(line, kUnplacedNoticeText) ||
           NoticeApplication(line, kLaunchFailedNoticeText) ||
           NoticeApplication(line, kEndRefusedNoticeText);
}

// A launch that created no process follows its start line with a notice: nothing ran.
bool TakeBackFailedStart(std::vector<HistoryEvent>& events, std::string_view line) {
    const auto application = NoticeApplication(line, kLaunchFailedNoticeText);
    if (!application || events.empty()) return false;
    const HistoryEvent& last = events.back();
    if (last.kind != HistoryEventKind::Start || last.Application() != *application) return false;
    events.pop_back();
    return true;
}

}  // namespace

std::optional<HistoryEvent> ParseHistoryLine(std::string_view text) {
    const auto timed = TimedLine(text);
    if (!timed) return std::nullopt;
    auto [seconds, line] = *timed;
    for (const auto& [text, kind] : kEventTexts) {
        if (!line.starts_with(text)) continue;
        line.remove_prefix(text.size());
        if (line.find(kSubjectSeparator) == std::string_view::npos) return std::nullopt;
        return HistoryEvent{seconds, kind, std::string(line)};
    }
    return std::nullopt;
}

std::span<const HistoryEvent> HistoryFileEvents::OwnDay() const {
    return std::span(events).first(spillBegin);
}

std::span<const HistoryEvent> HistoryFileEvents::NextDay() const {
    return std::span(events).subspan(spillBegin);
}

HistoryFileEvents ParseHistoryFile(const std::vector<std::string>& lines) {
    HistoryFileEvents file;
    for (const std::string& line : lines) {
        if (std::optional<HistoryEvent> event = ParseHistoryLine(line))
            file.events.push_back(std::move(*event));
        else if (TakeBackFailedStart(file.events, line))
            file.noticeLines += 2;
        else if (IsNoticeLine(line))
            ++file.noticeLines;
        else
            ++file.skippedLines;
    }
    const std::vector<HistoryEvent>& events = file.events;
    std::size_t lastStepBack = 0;
    for (std::size_t i = 1; i < events.size(); ++i) {
        if (events[i].seconds < events[i - 1].seconds) lastStepBack = i;
    }
    // After the last step back the times only rise: the last event is the latest.
    const bool spills = lastStepBack > 0 && events.back().seconds < kMidnightSpillSeconds;
    file.spillBegin = spills ? lastStepBack : events.size();
    return file;
}

std::vector<PlannedRow> PlannedRows(const TaskTable& table) {
    std::vector<PlannedRow> rows;
    for (int row = 1; row < table.RowCount(); ++row) {
        const std::string& application = table.Cell(ColApplication, row);
        if (application.empty()) continue;  // the schedule scan passes such a row by
        rows.push_back({row, application, table.Cell(ColDescription, row),
                        CellSeconds(table.Cell(ColStartTime, row)),
                        CellSeconds(table.Cell(ColEndTime, row))});
    }
    return rows;
}

std::optional<std::int64_t> AsRunEntry::StartDelay() const {
    if (!actualStart || !plannedStart) return std::nullopt;
    return *actualStart - *plannedStart;
}

std::vector<AsRunEntry> MatchAsRun(const std::vector<PlannedRow>& rows,
                                   std::span<const HistoryEvent> day,
                                   std::span<const HistoryEvent> nextDay) {
    const std::vector<Run> runs = CollectRuns(day, nextDay);
    const std::vector<std::optional<std::size_t>> runOfRow = PairRowsWithRuns(rows, runs);
    const int lastLineSeconds = day.empty() ? 0 : day.back().seconds;

    std::vector<AsRunEntry> entries;
    std::vector<bool> explained(runs.size(), false);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const PlannedRow& row = rows[i];
        AsRunEntry& entry = entries.emplace_back();
        entry.row = row.row;
        entry.application = row.application;
        entry.description = row.description;
        entry.plannedStart = row.start;
        entry.plannedEnd = row.end;
        if (!runOfRow[i]) continue;
        FillActual(entry, runs[*runOfRow[i]], lastLineSeconds);
        explained[*runOfRow[i]] = true;
    }
    for (std::size_t run = 0; run < runs.size(); ++run) {
        if (explained[run]) continue;
        const auto [application, description] = SplitSubject(runs[run].subject);
        AsRunEntry& entry = entries.emplace_back();
        entry.application = application;
        entry.description = description;
        FillActual(entry, runs[run], lastLineSeconds);
    }
    return entries;
}

namespace {

// Rows not started whose start lies after `recordedUntil` (seconds of the day; below 0 for a day
// that has not begun) wait for their time.
void MarkPending(std::vector<AsRunEntry>& entries, int recordedUntil) {
    for (AsRunEntry& entry : entries) {
        entry.pending =
            !entry.actualStart && entry.plannedStart && *entry.plannedStart > recordedUntil;
    }
}

}  // namespace

AsRunFolder::AsRunFolder(std::string programFolder) : programFolder_(std::move(programFolder)) {}

const AsRunFolder::HistoryFile& AsRunFolder::File(std::chrono::sys_days day) {
    if (const auto found = files_.find(day); found != files_.end()) return found->second;
    const std::string path =
        programFolder_ + "History/" + DateText(false, std::chrono::year_month_day{day}) + ".txt";
    const HistoryLoad load = LoadHistoryLines(path);
    HistoryFile& file = files_[day];
    file.found = load.found || !load.error.empty();  // an unreadable file is there all the same
    file.events = ParseHistoryFile(load.lines);
    if (file.events.skippedLines > 0 || !load.error.empty())
        notes_.push_back({path, file.events.skippedLines, load.error});
    return file;
}

AsRunDay AsRunFolder::Day(std::chrono::year_month_day date) {
    const std::chrono::sys_days day{date};
    std::erase_if(files_,
                  [&](const auto& file) { return file.first < day - std::chrono::days{1}; });

    AsRunDay result;
    result.date = date;
    result.timetablePath = DailyTablePath(programFolder_, date);
    TaskTable table;
    LoadTable(table, result.timetablePath);

    const HistoryFile& previous = File(day - std::chrono::days{1});
    const HistoryFile& own = File(day);
    const HistoryFile& next = File(day + std::chrono::days{1});
    result.historyFound = own.found;

    // The previous file's spill comes first: it was logged in the day's first minute.
    std::vector<HistoryEvent> events(previous.events.NextDay().begin(),
                                     previous.events.NextDay().end());
    events.insert(events.end(), own.events.OwnDay().begin(), own.events.OwnDay().end());
    std::vector<HistoryEvent> nextDay(own.events.NextDay().begin(), own.events.NextDay().end());
    nextDay.insert(nextDay.end(), next.events.OwnDay().begin(), next.events.OwnDay().end());

    result.entries = MatchAsRun(PlannedRows(table), events, nextDay);
    const std::chrono::sys_days today{Today()};
    if (day > today) MarkPending(result.entries, -1);
    if (day == today) MarkPending(result.entries, events.empty() ? -1 : events.back().seconds);
    return result;
}

}  // namespace vardo
