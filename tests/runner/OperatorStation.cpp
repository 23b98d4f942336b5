#include "OperatorStation.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <algorithm>
#include <filesystem>
#include <sstream>

#include "HistoryFile.h"
#include "ProgramPlace.h"
#include "TaskTable.h"
#include "TextCodec.h"
#include "TimeText.h"
#include "TimetableFile.h"
#include "utMain.h"

namespace vardo::test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Where the model starts: ten seconds before the daily load of a Thursday.
const LocalTime kFirstMoment = At(2026, 3, 5, 8, 59, 50);
constexpr std::string_view kDefaultTableName = "任务计划表.tab";
// How long a process the program killed may take to die before the checks count it as running.
constexpr auto kDyingTime = 2000ms;

std::chrono::year_month_day DateOf(LocalTime time) {
    return std::chrono::year_month_day(std::chrono::floor<std::chrono::days>(time));
}

int ProcessIdCell(const std::string& cell) {
    try {
        return cell.empty() ? 0 : std::stoi(cell);
    } catch (const std::exception&) {
        return 0;
    }
}

// "  HH:MM:SS " and something after it.
bool WellFormed(const std::string& line) {
    if (line.size() < 12 || line.compare(0, 2, "  ") != 0 || line[10] != ' ') return false;
    for (const int at : {2, 3, 5, 6, 8, 9}) {
        if (line[at] < '0' || line[at] > '9') return false;
    }
    return line[4] == ':' && line[7] == ':';
}

// The application and description of an event line whose event text begins at `at`.
std::pair<std::string, std::string> Subject(const std::string& line, std::size_t at,
                                            std::string_view event) {
    const std::size_t begin = at + event.size();
    const std::size_t separator = line.find(kSubjectSeparator, begin);
    if (separator == std::string::npos) return {line.substr(begin), {}};
    return {line.substr(begin, separator - begin),
            line.substr(separator + kSubjectSeparator.size())};
}

bool EventAt(const std::string& line, std::string_view event) {
    return line.compare(10, event.size(), event) == 0;
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

}  // namespace

OperatorStation::OperatorStation(StationOptions options)
    : clock_(kFirstMoment), windows_(":9999"), options_(options) {
    qputenv("XDG_CONFIG_HOME", (folder_.path() + "/config").c_str());
    qputenv("XDG_STATE_HOME", (folder_.path() + "/state").c_str());
    fs::create_directories(folder_.File("Data"));
    fs::create_directories(folder_.File("Metrics"));
    WriteText(folder_.File("stubborn.sh"), "#!/bin/sh\ntrap '' TERM\nexec /bin/sleep 300\n");
    ::chmod(folder_.File("stubborn.sh").c_str(), 0755);
    const auto yesNo = [](bool on) { return on ? "YES" : "NO"; };
    WriteText(folder_.File("VARDO.INI"),
              std::string("[START]\r\nchkSaveHis=YES\r\nchkLoadTime=YES\r\n") +
                  "loadTimePicker=" + SecondsToTimeText(kLoadSecond) +
                  "\r\nchkAutoShutDown=NO\r\nTimePicker=" + SecondsToTimeText(kCloseSecond) +
                  "\r\nWatchData=YES\r\nMetricsDir=Metrics\r\nchkShutTask=" +
                  yesNo(options.endTasksOnClose) + "\r\nchkSure=" + yesNo(options.confirmClose) +
                  "\r\n");
    WriteText(DataPath(std::string(kDefaultTableName)),
              Utf8ToGb18030(
                  "  1^^/bin/sleep^^300^^morning^^09:00:00^^09:00:30^^^^否^^是^^1^^^^^^^^^^^^^^\r\n"
                  "  2^^/bin/true^^^^jingle^^08:59:55^^^^^^否^^是^^1^^^^^^^^^^^^^^\r\n"
                  "  3^^" + folder_.File("stubborn.sh") +
                  "^^^^news^^09:00:10^^^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n"
                  "  4^^/bin/sleep^^300^^show^^09:00:20^^09:01:00^^^^是^^否,无^^1^^^^^^^^^^^^^^\r\n"));
    main_ = std::make_unique<TFrmMain>(platform::PortablePlace(folder_.File("vardo")),
                                       MainWindowServices{prompts_, processes_, windows_});
    main_->show();
    // The checks begin with what the start-up wrote.
    std::vector<std::string> startUp;
    CheckHistory(startUp);
}

OperatorStation::~OperatorStation() {
    main_.reset();
    for (const ChildProcess& child : ChildProcesses()) {
        ::kill(child.processId, SIGKILL);
        ::waitpid(child.processId, nullptr, 0);
    }
    QDir::setCurrent(QDir::tempPath());
}

bool OperatorStation::Open() const {
    return !sessionEnded_ && main_->isVisible();
}

bool OperatorStation::Editing() const {
    return main_->IsEditState();
}

void OperatorStation::MoveClockTo(LocalTime to) {
    const bool newMinute = std::chrono::floor<std::chrono::minutes>(to) !=
                           std::chrono::floor<std::chrono::minutes>(clock_.Now());
    clock_.Set(to);
    main_->tmScanOrloTimer();
    main_->tmChkFlashTimer();
    if (newMinute) main_->tmMinuteTimer();
    main_->tmTimeDateTimer();
}

int OperatorStation::ChooseRow(int pick) {
    TaskTable& table = main_->table();
    const int row = 1 + pick % (table.RowCount() - 1);
    table.SetCurrentRow(row);
    main_->sgJMClick();
    return row;
}

std::string OperatorStation::ProgramPath(TaskProgram program) const {
    switch (program) {
        case TaskProgram::Player:
            return "/bin/sleep";
        case TaskProgram::Blip:
            return "/bin/true";
        case TaskProgram::Stubborn:
            return folder_.File("stubborn.sh");
    }
    return {};
}

std::string OperatorStation::ProgramParameters(TaskProgram program) const {
    return program == TaskProgram::Player ? "300" : "";
}

std::string OperatorStation::TimeIn(std::optional<int> seconds) const {
    if (!seconds) return {};
    return SecondsToTimeText((TimeOfDaySeconds(clock_.Now()) + *seconds) % 86400);
}

// Through the editor's fields, as the operator types.
void OperatorStation::WriteRow(int row, const RowSpec& spec) {
    ChooseRow(row - 1);
    if (main_->edName->text().isEmpty()) main_->edName->setText("task " + QString::number(row));
    main_->edApp->setText(QString::fromStdString(ProgramPath(spec.program)));
    main_->edPara->setText(QString::fromStdString(ProgramParameters(spec.program)));
    main_->edSTime->setText(QString::fromStdString(TimeIn(spec.startIn)));
    main_->edETime->setText(QString::fromStdString(TimeIn(spec.endIn)));
}

std::string OperatorStation::DataPath(const std::string& name) const {
    return folder_.File("Data/" + name);
}

std::vector<std::string> OperatorStation::TimetableFiles() const {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder_.File("Data"), error)) {
        if (entry.path().extension() == ".tab") names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void OperatorStation::RememberGrid() {
    const TaskTable& table = main_->table();
    std::vector<std::vector<std::string>> rows;
    for (int row = 1; row < table.RowCount(); ++row) {
        if (table.Cell(ColApplication, row).empty()) continue;
        std::vector<std::string> cells = table.Row(row);
        cells.resize(kStandardColumnCount);
        for (int column = ColProcessId; column <= ColRunTime; ++column) cells[column].clear();
        rows.push_back(std::move(cells));
    }
    if (!rows.empty()) rememberedRows_ = std::move(rows);
}

// The day's own file, written in place as a copy tool writes it.
void OperatorStation::Arrive(ArrivalKind kind, int rows, const std::vector<RowSpec>& fresh) {
    if (dataBroken_) return;
    const std::string path = DataPath(DateText(true, DateOf(clock_.Now())) + ".tab");
    if (kind == ArrivalKind::Refused) {
        WriteText(path, "  1^^/bin/sleep^^300^^half a line");
        return;
    }
    std::vector<std::vector<std::string>> lines;
    if (kind == ArrivalKind::Fresh) {
        for (const RowSpec& spec : fresh) {
            std::vector<std::string> cells(kStandardColumnCount);
            cells[ColApplication] = ProgramPath(spec.program);
            cells[ColParameters] = ProgramParameters(spec.program);
            cells[ColDescription] = "arrived " + std::to_string(lines.size() + 1);
            cells[ColStartTime] = TimeIn(spec.startIn);
            cells[ColEndTime] = TimeIn(spec.endIn);
            cells[ColExclusive] = std::string(kNo);
            cells[ColWindowSetting] = std::string(kYes);
            cells[ColMonitor] = "1";
            lines.push_back(std::move(cells));
        }
    } else {
        lines = rememberedRows_;
        if (kind == ArrivalKind::Short && !lines.empty())
            lines.resize(static_cast<std::size_t>(rows) % lines.size());
    }
    std::string text;
    for (std::size_t line = 0; line < lines.size(); ++line) {
        lines[line][ColNumber] = std::to_string(line + 1);
        for (const std::string& cell : lines[line]) text += cell + "^^";
        text += "\r\n";
    }
    WriteText(path, Utf8ToGb18030(text.empty() ? std::string("\r\n") : text));
}

void OperatorStation::RemoveTheDaysFiles() {
    if (dataBroken_) return;
    for (const LocalTime day : {clock_.Now(), clock_.Now() + std::chrono::days(1)}) {
        fs::remove(DataPath(DateText(true, DateOf(day)) + ".tab"));
        fs::remove(DataPath(std::string(WeekdayName(DateOf(day))) + ".tab"));
    }
    fs::remove(DataPath(std::string(kDefaultTableName)));
}

// Data/ becomes a plain file: nothing can be written into it or read from it.
void OperatorStation::BreakDataFolder() {
    if (dataBroken_) return;
    fs::rename(folder_.File("Data"), folder_.File("Data.away"));
    WriteText(folder_.File("Data"), "");
    dataBroken_ = true;
}

void OperatorStation::RepairDataFolder() {
    if (!dataBroken_) return;
    fs::remove(folder_.File("Data"));
    fs::rename(folder_.File("Data.away"), folder_.File("Data"));
    dataBroken_ = false;
}

// The task ends by itself: it is killed from outside, and has died before the next step.
void OperatorStation::EndATask(int pick) {
    std::vector<int> running;
    for (const ChildProcess& child : ChildProcesses()) {
        if (!child.ended) running.push_back(child.processId);
    }
    if (running.empty()) return;
    std::sort(running.begin(), running.end());
    const int processId = running[static_cast<std::size_t>(pick) % running.size()];
    ::kill(processId, SIGKILL);
    EndsWithin(processId, kDyingTime);
}

void OperatorStation::EndSession() {
    sessionEnded_ = true;
    main_->EndSession();
}

void OperatorStation::EndSessionInNextBox() {
    prompts_.duringNextBox = [this] { EndSession(); };
}

void OperatorStation::Close(bool confirm) {
    prompts_.confirmAnswer = confirm;
    main_->close();
}

void OperatorStation::CloseAutomatically() {
    main_->FrmSetup->chkAutoShutDown->setChecked(true);
    const auto day = std::chrono::floor<std::chrono::days>(clock_.Now());
    LocalTime at = day + std::chrono::seconds(kCloseSecond);
    MoveClockTo(at > clock_.Now() ? at : at + std::chrono::days(1));
    if (main_->FrmSetup) main_->FrmSetup->chkAutoShutDown->setChecked(false);
}

void OperatorStation::SetEndTasksOnClose(bool on) {
    if (!main_->FrmSetup) return;
    main_->FrmSetup->chkShutTask->setChecked(on);
    options_.endTasksOnClose = on;
}

// --- checks ---------------------------------------------------------------------------------

std::vector<std::string> OperatorStation::Check(bool clockMoved) {
    std::vector<std::string> faults;
    CheckHistory(faults);
    CheckProcesses(faults);
    if (Open() && !Editing() && clockMoved) {
        CheckGrid(faults);
        CheckMetrics(faults);
    }
    if (!Open()) CheckClosed(faults);
    return faults;
}

std::multiset<int> OperatorStation::FollowedProcesses() const {
    return processes_.HeldProcessIds();
}

int OperatorStation::RunningRowOf(int processId) const {
    const TaskTable& table = main_->table();
    for (int row = 1; row < table.RowCount(); ++row) {
        if (table.Cell(ColRunState, row) == kRunning &&
            ProcessIdCell(table.Cell(ColProcessId, row)) == processId)
            return row;
    }
    return 0;
}

std::string OperatorStation::HandOverKey(const std::string& commandLine, int processId) const {
    const int row = RunningRowOf(processId);
    if (row == 0) return {};
    const std::string& start = main_->table().Cell(ColStartTime, row);
    return commandLine + " @" +
           (start.empty() ? std::string() : SecondsToTimeText(TimeTextToSeconds(start)));
}

// Every line is kept, each new line is stamped with the moment it was written and lands in that
// day's file, and start and end lines pair up per task.
void OperatorStation::CheckHistory(std::vector<std::string>& faults) {
    const std::string today = DateText(false, DateOf(clock_.Now())) + ".txt";
    const std::string now = SecondsToTimeText(TimeOfDaySeconds(clock_.Now()));
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder_.File("History"), error))
        files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    std::vector<std::string> starts;
    for (const std::string& name : files) {
        const std::vector<std::string> lines = LoadHistoryLines(folder_.File("History/" + name)).lines;
        std::vector<std::string>& seen = historySeen_[name];
        if (lines.size() < seen.size() || !std::equal(seen.begin(), seen.end(), lines.begin())) {
            faults.push_back("History/" + name + " lost or changed lines it held");
            seen = lines;
            continue;
        }
        for (std::size_t at = seen.size(); at < lines.size(); ++at) {
            const std::string& line = lines[at];
            if (!WellFormed(line)) {
                faults.push_back("malformed history line in " + name + ": \"" + line + "\"");
                continue;
            }
            if (line.compare(2, 8, now) != 0)
                faults.push_back("line written at " + now + " says another time: " + line);
            if (name != today)
                faults.push_back("line of the day of " + today + " written to " + name + ": " +
                                 line);
            TakeHistoryLine(line, starts, faults);
        }
        seen = lines;
    }
    const std::vector<Creation> creations = processes_.TakeCreations();
    operatorTally.starts += static_cast<long>(creations.size());
    // A task that exits at once has done so before the next step, so that a sequence replays
    // as it ran.
    for (const Creation& creation : creations) {
        if (creation.commandLine.starts_with(ProgramPath(TaskProgram::Blip) + " "))
            EndsWithin(creation.processId, kDyingTime);
    }
    if (creations.size() != starts.size()) {
        faults.push_back(std::to_string(creations.size()) + " process creations but " +
                         std::to_string(starts.size()) + " start lines");
    }
    for (std::size_t i = 0; i < std::min(creations.size(), starts.size()); ++i) {
        const int processId = creations[i].processId;
        if (processId == 0) continue;
        identityOf_[processId] = Subject(starts[i], 10, kStartEventText);
        handOverKeyOf_[processId] = HandOverKey(creations[i].commandLine, processId);
    }
    // A start never leaves a task that a load cut loose running beside the new one. The load
    // must have come first: in one second a row may start its task beside another row's copy of
    // it (two rows of one task), and a load after the start then cuts the other copy loose.
    for (const Creation& creation : creations) {
        const std::string& key = handOverKeyOf_[creation.processId];
        if (creation.processId == 0 || key.empty()) continue;
        for (const int other : FollowedProcesses()) {
            if (other != creation.processId && cutLoose_.contains(other) && Runs(other) &&
                handOverKeyOf_[other] == key && RunningRowOf(other) == 0) {
                faults.push_back("started a second " + key + " (process " +
                                 std::to_string(creation.processId) + ") while process " +
                                 std::to_string(other) + ", cut loose from its row, still runs");
            }
        }
    }
    cutLoose_.clear();
    for (const int process : FollowedProcesses()) {
        if (Runs(process) && RunningRowOf(process) == 0) cutLoose_.insert(process);
    }
}

void OperatorStation::TakeHistoryLine(const std::string& line, std::vector<std::string>& starts,
                                      std::vector<std::string>& faults) {
    const std::optional<Identity> previousStart = std::exchange(lastStart_, std::nullopt);
    if (EventAt(line, kStartEventText)) {
        lastStart_ = Subject(line, 10, kStartEventText);
        ++openRuns_[*lastStart_];
        starts.push_back(line);
    } else if (EventAt(line, kLaunchFailedNoticeText)) {
        if (previousStart) --openRuns_[*previousStart];
    } else {
        for (const std::string_view end : {kEndEventText, kExitEventText}) {
            if (!EventAt(line, end)) continue;
            int& open = openRuns_[Subject(line, 10, end)];
            if (open <= 0) {
                faults.push_back("end line for a task that is not running: " + line);
            } else {
                --open;
            }
        }
    }
}

// Every running task process is followed through exactly one handle, and each task's runs
// without an end line are exactly the processes followed for it.
void OperatorStation::CheckProcesses(std::vector<std::string>& faults) {
    const std::multiset<int> followed = FollowedProcesses();
    for (const ChildProcess& child : ChildProcesses()) {
        if (child.ended) continue;
        const std::size_t handles = followed.count(child.processId);
        if (handles > 1) {
            faults.push_back("process " + std::to_string(child.processId) + " is followed " +
                             std::to_string(handles) + " times");
        }
        if (handles > 0 || (processes_.Killed().contains(child.processId) &&
                            EndsWithin(child.processId, kDyingTime)))
            continue;
        const auto identity = identityOf_.find(child.processId);
        faults.push_back("process " + std::to_string(child.processId) + " (" +
                         (identity == identityOf_.end() ? std::string("?")
                                                        : identity->second.first + " " +
                                                              identity->second.second) +
                         ") runs and nothing follows it any more");
    }
    std::map<Identity, int> followedRuns;
    for (const int processId : followed) {
        const auto identity = identityOf_.find(processId);
        if (identity != identityOf_.end()) ++followedRuns[identity->second];
    }
    std::set<Identity> identities;
    for (const auto& [identity, count] : openRuns_) identities.insert(identity);
    for (const auto& [identity, count] : followedRuns) identities.insert(identity);
    for (const Identity& identity : identities) {
        const int open = openRuns_[identity];
        const int following = followedRuns[identity];
        if (open != following) {
            faults.push_back(identity.first + " " + identity.second + ": " +
                             std::to_string(open) + " runs without an end line, " +
                             std::to_string(following) + " processes followed");
        }
    }
}

// After a watch tick outside the edit state, a row on air shows a process it holds, and no two
// rows show the same one.
void OperatorStation::CheckGrid(std::vector<std::string>& faults) {
    const TaskTable& table = main_->table();
    std::map<int, int> shownBy;
    for (int row = 1; row < table.RowCount(); ++row) {
        if (table.Cell(ColRunState, row) != kRunning) continue;
        const int processId = ProcessIdCell(table.Cell(ColProcessId, row));
        const std::string number = std::to_string(row);
        // A launch that created no process leaves its row on air, as its history line says.
        if (processId == 0) {
            continue;
        }
        const int handle = ProcessIdCell(table.Cell(ColProcessHandle, row));
        if (processes_.HeldProcessId(handle) != processId)
            faults.push_back("row " + number + " shows process " + std::to_string(processId) +
                             " without holding it");
        if (const auto [other, fresh] = shownBy.emplace(processId, row); !fresh)
            faults.push_back("rows " + std::to_string(other->second) + " and " + number +
                             " both show process " + std::to_string(processId));
    }
}

// The metrics count the rows on air, as the grid shows them after the same second.
void OperatorStation::CheckMetrics(std::vector<std::string>& faults) {
    const TaskTable& table = main_->table();
    int onAir = 0;
    for (int row = 1; row < table.RowCount(); ++row) onAir += table.Cell(ColRunState, row) == kRunning;
    std::ifstream file(folder_.File("Metrics/vardo.prom"));
    std::optional<int> total;
    int samples = 0;
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("vardo_tasks_running ", 0) == 0) total = std::stoi(line.substr(20));
        if (line.rfind("vardo_task_running{", 0) == 0) ++samples;
    }
    if (total != onAir || samples != onAir)
        faults.push_back("the metrics count " + (total ? std::to_string(*total) : "no") + " and " +
                         std::to_string(samples) + " running rows, the grid shows " +
                         std::to_string(onAir));
}

// Closed with 退出时关闭任务 (or at a session end with it): every task has ended and says so, but
// for those whose end the system refused, which the history tells and which stay followed.
void OperatorStation::CheckClosed(std::vector<std::string>& faults) {
    if (!options_.endTasksOnClose) return;
    const std::multiset<int> followed = FollowedProcesses();
    for (const ChildProcess& child : ChildProcesses()) {
        if (child.ended ||
            (processes_.Refused().contains(child.processId) && followed.contains(child.processId)) ||
            EndsWithin(child.processId, kDyingTime))
            continue;
        faults.push_back("process " + std::to_string(child.processId) +
                         " still runs after the program closed with 退出时关闭任务");
    }
}

std::string OperatorStation::Describe() const {
    std::ostringstream text;
    text << "at " << SecondsToTimeText(TimeOfDaySeconds(clock_.Now()))
         << (Open() ? "" : ", closed") << (main_->IsEditState() ? ", editing" : "") << "\n";
    const TaskTable& table = main_->table();
    for (int row = 1; row < table.RowCount(); ++row) {
        text << "  row " << row << ": " << table.Cell(ColApplication, row) << " "
             << table.Cell(ColParameters, row) << " [" << table.Cell(ColStartTime, row) << " - "
             << table.Cell(ColEndTime, row) << "] " << table.Cell(ColRunState, row) << " "
             << table.Cell(ColProcessId, row) << "\n";
    }
    return text.str();
}

}  // namespace vardo::test
