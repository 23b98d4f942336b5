#include "StationMetrics.h"

#include <ctime>
#include <string_view>

#include "TaskTable.h"

namespace vardo {

namespace {

// From a millisecond to a second, and a little beyond for seconds caught up after a stall.
const std::vector<double> kSecondsBuckets = {0.001, 0.0025, 0.005, 0.01, 0.025, 0.05,
                                             0.1,   0.25,   0.5,   1,    2.5,   5};

constexpr std::array<std::string_view, 6> kEndCauseLabels = {"end_time", "exited",  "exclusive",
                                                             "restart",  "stopped", "exit"};
static_assert(static_cast<std::size_t>(TaskEndCause::EndTime) == 0 &&
              static_cast<std::size_t>(TaskEndCause::Exit) == kEndCauseLabels.size() - 1);

double Seconds(std::chrono::nanoseconds duration) {
    return std::chrono::duration<double>(duration).count();
}

double Flag(bool on) {
    return on ? 1 : 0;
}

}  // namespace

StationMetrics::StationMetrics(const TaskTable& table)
    : table_(table), startLatency_(kSecondsBuckets), windowPlacement_(kSecondsBuckets) {}

void StationMetrics::SetInfo(std::string version, std::string station, std::string timetable) {
    version_ = std::move(version);
    station_ = std::move(station);
    timetable_ = std::move(timetable);
}

void StationMetrics::TaskStarted(bool launched, std::optional<std::chrono::nanoseconds> latency) {
    ++starts_;
    if (!launched) ++startFailures_;
    if (latency) startLatency_.Observe(Seconds(*latency));
}

void StationMetrics::TaskEnded(TaskEndCause cause) {
    ++ends_[static_cast<std::size_t>(cause)];
}

void StationMetrics::WindowPlaced(std::chrono::nanoseconds delay) {
    windowPlacement_.Observe(Seconds(delay));
}

void StationMetrics::SecondProcessed(LocalSeconds second) {
    lastTickUnixSeconds_ = UnixSecondsOf(second);
}

std::string StationMetrics::Exposition() const {
    ExpositionText text;
    text.Family("vardo_info", "gauge", "Vardo on this station: version, host name and timetable.");
    text.Sample("vardo_info",
                {{"version", version_}, {"station", station_}, {"timetable", timetable_}}, 1);
    text.Family("vardo_last_tick_timestamp_seconds", "gauge",
                "The last wall-clock second the schedule scan processed, Unix time.");
    text.Sample("vardo_last_tick_timestamp_seconds", {}, static_cast<double>(lastTickUnixSeconds_));
    text.Family("vardo_edit_state", "gauge",
                "1 while the timetable is being edited and the scans are suspended.");
    text.Sample("vardo_edit_state", {}, Flag(editState_));
    text.Family("vardo_skin_active", "gauge", "1 while a skin is drawn on the program's windows.");
    text.Sample("vardo_skin_active", {}, Flag(skinActive_));

    std::vector<int> runningRows;
    for (int row = 1; row < table_.RowCount(); ++row) {
        if (table_.Cell(ColRunState, row) == kRunning) runningRows.push_back(row);
    }
    text.Family("vardo_tasks_running", "gauge", "Rows of the timetable whose task is running.");
    text.Sample("vardo_tasks_running", {}, static_cast<double>(runningRows.size()));
    text.Family("vardo_task_running", "gauge", "1 for each row whose task is running.");
    for (const int row : runningRows) {
        text.Sample("vardo_task_running",
                    {{"row", std::to_string(row)},
                     {"application", table_.Cell(ColApplication, row)},
                     {"description", table_.Cell(ColDescription, row)}},
                    1);
    }
    text.Family("vardo_task_starts_total", "counter", "Tasks started, by schedule or by hand.");
    text.Sample("vardo_task_starts_total", {}, static_cast<double>(starts_));
    text.Family("vardo_task_start_failures_total", "counter",
                "Task starts whose process could not be created.");
    text.Sample("vardo_task_start_failures_total", {}, static_cast<double>(startFailures_));
    text.Family("vardo_task_ends_total", "counter", "Task runs ended, by how they ended.");
    for (std::size_t i = 0; i < kEndCauseLabels.size(); ++i) {
        text.Sample("vardo_task_ends_total", {{"how", std::string(kEndCauseLabels[i])}},
                    static_cast<double>(ends_[i]));
    }
    text.Family("vardo_task_end_failures_total", "counter",
                "Task ends the system refused; the process runs on and is still followed.");
    text.Sample("vardo_task_end_failures_total", {}, static_cast<double>(endRefusals_));
    text.Family("vardo_start_latency_seconds", "histogram",
                "From the wall-clock second of a scheduled start to its process's creation.");
    text.HistogramSamples("vardo_start_latency_seconds", startLatency_);
    text.Family("vardo_window_placement_seconds", "histogram",
                "From a task window becoming viewable to its placement.");
    text.HistogramSamples("vardo_window_placement_seconds", windowPlacement_);
    text.Family("vardo_history_write_failures_total", "counter",
                "Run-history files that could not be written.");
    text.Sample("vardo_history_write_failures_total", {},
                static_cast<double>(historyWriteFailures_));
    text.Family("vardo_timetable_save_failures_total", "counter",
                "Timetable saves that could not be written.");
    text.Sample("vardo_timetable_save_failures_total", {},
                static_cast<double>(timetableSaveFailures_));
    return text.Text();
}

std::int64_t UnixSecondsOf(LocalSeconds second) {
    const auto days = std::chrono::floor<std::chrono::days>(second);
    const std::chrono::year_month_day date(days);
    const std::chrono::hh_mm_ss time(second - days);
    std::tm local{};
    local.tm_year = static_cast<int>(date.year()) - 1900;
    local.tm_mon = static_cast<int>(static_cast<unsigned>(date.month())) - 1;
    local.tm_mday = static_cast<int>(static_cast<unsigned>(date.day()));
    local.tm_hour = static_cast<int>(time.hours().count());
    local.tm_min = static_cast<int>(time.minutes().count());
    local.tm_sec = static_cast<int>(time.seconds().count());
    local.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&local));
}

}  // namespace vardo
