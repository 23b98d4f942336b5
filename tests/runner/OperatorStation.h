#pragma once

// A whole station for the operator model: the main window on a program folder of its own, a clock
// the model moves, prompts the model answers, the real processes layer watched, and the checks
// that must hold after every step, against /proc, the grid, the history files and the metrics.
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ManualClock.h"
#include "Prompts.h"
#include "TempFolder.h"
#include "WatchedProcesses.h"
#include "X11Windows.h"

namespace vardo {
class TFrmMain;
}

namespace vardo::test {

// Answers every box as the model says; the model can have something happen while the next box
// waits for the operator (a session end, as a logout does).
class ModelPrompts final : public Prompts {
  public:
    bool confirmAnswer = false;
    std::optional<QString> nextFile;
    std::function<void()> duringNextBox;

    bool ConfirmOkCancel(QWidget*, const QString&, const QString&) override {
        WhileShown();
        return confirmAnswer;
    }
    void ShowError(QWidget*, const QString&) override { WhileShown(); }
    std::optional<QString> ChooseOpenFile(QWidget*, const FileRequest&) override {
        WhileShown();
        return std::exchange(nextFile, std::nullopt);
    }
    std::optional<QString> ChooseSaveFile(QWidget*, const FileRequest&) override {
        WhileShown();
        return std::exchange(nextFile, std::nullopt);
    }

  private:
    void WhileShown() {
        if (auto during = std::exchange(duringNextBox, nullptr)) during();
    }
};

// The programs a row can run: one that plays on, one that exits at once, one that ignores SIGTERM.
enum class TaskProgram { Player, Blip, Stubborn };
inline constexpr int kTaskProgramCount = 3;

// A row as the model writes it: its program and, relative to the clock when written, its times
// (nothing: no time).
struct RowSpec {
    TaskProgram program = TaskProgram::Player;
    std::optional<int> startIn;
    std::optional<int> endIn;
};

// How a day's timetable arrives in Data/.
enum class ArrivalKind { Whole, Short, Fresh, Refused };

// Counts what the campaigns ran.
struct OperatorTally {
    long sequences = 0;
    long steps = 0;
    long openSteps = 0;  // steps while the program ran
    long starts = 0;     // task processes started
};
inline OperatorTally operatorTally;

struct StationOptions {
    bool endTasksOnClose = true;  // 退出时关闭任务
    bool confirmClose = false;    // 退出系统时提示确认
};

class OperatorStation {
  public:
    // The daily load and the automatic close, as the settings give them. The automatic close is
    // off but for the step that closes at its time, so that the clock's other steps pass it.
    static constexpr int kLoadSecond = 9 * 3600;
    static constexpr int kCloseSecond = 23 * 3600 + 30 * 60;

    explicit OperatorStation(StationOptions options);
    ~OperatorStation();
    OperatorStation(const OperatorStation&) = delete;
    OperatorStation& operator=(const OperatorStation&) = delete;

    // Whether the program still runs its window (not closed, no session end).
    bool Open() const;
    bool Editing() const;
    TFrmMain& Main() { return *main_; }
    LocalTime Now() const { return clock_.Now(); }

    // The clock: every timer that runs in the second `to` runs once, as the event loop runs them.
    void MoveClockTo(LocalTime to);
    // The grid: the row a pick names among the task rows becomes current, as a click makes it.
    int ChooseRow(int pick);
    void WriteRow(int row, const RowSpec& spec);
    std::string ProgramPath(TaskProgram program) const;
    std::string ProgramParameters(TaskProgram program) const;
    std::string TimeIn(std::optional<int> seconds) const;
    // Files.
    std::string DataPath(const std::string& name) const;
    std::vector<std::string> TimetableFiles() const;
    // The file the next open or save dialog returns.
    void ChooseFile(const std::string& path) { prompts_.nextFile = QString::fromStdString(path); }
    void Arrive(ArrivalKind kind, int rows, const std::vector<RowSpec>& fresh);
    void RemoveTheDaysFiles();
    void BreakDataFolder();
    void RepairDataFolder();
    // The world.
    void EndATask(int pick);
    void RefuseNextKill() { processes_.RefuseKills(1); }
    void EndSession();
    void EndSessionInNextBox();
    void Close(bool confirm);
    // The automatic close, switched on for the moment the clock reaches its time.
    void CloseAutomatically();
    void SetEndTasksOnClose(bool on);
    // Keeps the grid's rows for an arrival of the table as it was.
    void RememberGrid();

    // Every check, after a step; the faults found, each in one line.
    std::vector<std::string> Check(bool clockMoved);
    // The ledger's view for a failing sequence.
    std::string Describe() const;

  private:
    using Identity = std::pair<std::string, std::string>;  // application, description
    void CheckProcesses(std::vector<std::string>& faults);
    void CheckHistory(std::vector<std::string>& faults);
    void CheckGrid(std::vector<std::string>& faults);
    void CheckMetrics(std::vector<std::string>& faults);
    void CheckClosed(std::vector<std::string>& faults);
    void TakeHistoryLine(const std::string& line, std::vector<std::string>& starts,
                         std::vector<std::string>& faults);
    // The key by which a load hands a task over: program, parameters and start time.
    std::string HandOverKey(const std::string& commandLine, int processId) const;
    // The running row that shows the process; 0 when none does.
    int RunningRowOf(int processId) const;
    std::multiset<int> FollowedProcesses() const;

    TempFolder folder_;
    ManualClock clock_;
    ModelPrompts prompts_;
    WatchedProcesses processes_;
    platform::X11Windows windows_;
    StationOptions options_;
    std::unique_ptr<TFrmMain> main_;
    bool sessionEnded_ = false;
    bool dataBroken_ = false;
    std::vector<std::vector<std::string>> rememberedRows_;

    // What the checks have seen so far.
    std::map<std::string, std::vector<std::string>> historySeen_;
    std::map<Identity, int> openRuns_;
    std::optional<Identity> lastStart_;
    std::map<int, Identity> identityOf_;
    std::map<int, std::string> handOverKeyOf_;
    std::set<int> cutLoose_;  // followed processes no row showed at the last check
};

}  // namespace vardo::test
