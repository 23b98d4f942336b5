#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "PrometheusText.h"
#include "TaskRunnerEvents.h"

namespace vardo {

class TaskTable;

// What a station tells Prometheus about itself: the runner's events counted as they come, the
// main window's state as it sets it, and the running rows read from the table when rendered.
class StationMetrics final : public TaskRunnerEvents {
  public:
    explicit StationMetrics(const TaskTable& table);

    void SetInfo(std::string version, std::string station, std::string timetable);
    void SetEditState(bool on) { editState_ = on; }
    void SetSkinActive(bool on) { skinActive_ = on; }
    void CountHistoryWriteFailure() { ++historyWriteFailures_; }
    void CountTimetableSaveFailure() { ++timetableSaveFailures_; }

    // TaskRunnerEvents
    void TaskStarted(bool launched, std::optional<std::chrono::nanoseconds> latency) override;
    void TaskEnded(TaskEndCause cause) override;
    void TaskEndRefused() override { ++endRefusals_; }
    void WindowPlaced(std::chrono::nanoseconds delay) override;
    void SecondProcessed(LocalSeconds second) override;

    // The whole exposition text, every family with its HELP and TYPE lines.
    std::string Exposition() const;

  private:
    static constexpr std::size_t kEndCauses = 6;

    const TaskTable& table_;
    std::string version_;
    std::string station_;
    std::string timetable_;
    bool editState_ = false;
    bool skinActive_ = false;
    std::int64_t lastTickUnixSeconds_ = 0;
    std::uint64_t starts_ = 0;
    std::uint64_t startFailures_ = 0;
    std::array<std::uint64_t, kEndCauses> ends_{};
    std::uint64_t endRefusals_ = 0;
    std::uint64_t historyWriteFailures_ = 0;
    std::uint64_t timetableSaveFailures_ = 0;
    Histogram startLatency_;
    Histogram windowPlacement_;
};

// Seconds since the Unix epoch of a local wall-clock second, in the system's time zone.
std::int64_t UnixSecondsOf(LocalSeconds second);

}  // namespace vardo
