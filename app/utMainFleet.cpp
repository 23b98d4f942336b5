// What a station run among many adds to the main window: its metrics for Prometheus, written
// for node exporter's textfile collector ([START] MetricsDir), and timetables that arrive as files
// in Data/ ([START] WatchData).
#include <QCheckBox>
#include <QDir>
#include <QSysInfo>

#include "AtomicFile.h"
#include "FolderWatch.h"
#include "FolderWatchNotifier.h"
#include "HistoryFile.h"
#include "QtText.h"
#include "SettingsStore.h"
#include "StationMetrics.h"
#include "TaskRunner.h"
#include "TimeText.h"
#include "TimetableFile.h"
#include "TranslatedText.h"
#include "WinSkinData.h"
#include "utMain.h"

namespace vardo {

namespace {

constexpr std::string_view kMetricsFileName = "vardo.prom";

}  // namespace

void TFrmMain::StartFleetServices() {
    runner_->SetEvents(metrics_.get());
    // The scan runs from the start on: until its first tick, the start is its last sign of life.
    metrics_->SecondProcessed(std::chrono::floor<std::chrono::seconds>(CurrentClock().Now()));
    const std::string metricsDir = ReadSetting(place_.settingsFile, kSettingsSection, "MetricsDir");
    if (!metricsDir.empty()) {
        const QString folder = QDir(programFolder_).absoluteFilePath(ToQString(metricsDir));
        metricsFile_ = std::make_unique<ExpositionFile>((folder + '/').toStdString() +
                                                        std::string(kMetricsFileName));
        PublishMetrics();
    }
    if (!IsYes(ReadSettingDef(place_.settingsFile, kSettingsSection, "WatchData", "NO"))) return;
    watchData_ = true;
    dataWatch_ = std::make_unique<platform::FolderWatch>(DataFolder());
    // Without a descriptor the one-second check alone.
    dataWatchNotifier_ =
        std::make_unique<platform::FolderWatchNotifier>(*dataWatch_, [this] { CheckArrivals(); });
}

std::string TFrmMain::DataFolder() const {
    return programFolder_.toStdString() + "Data/";
}

// --- metrics ------------------------------------------------------------------------------------

void TFrmMain::PublishMetrics() {
    if (!metricsFile_) return;
    metrics_->SetInfo(VARDO_VERSION, QSysInfo::machineHostName().toStdString(), currentTablePath_);
    metrics_->SetEditState(editState_);
    metrics_->SetSkinActive(sd1 && sd1->Active());
    const WriteResult result = metricsFile_->Publish(metrics_->Exposition());
    // Told once per failure, not once a second.
    if (result.error == metricsError_) return;
    metricsError_ = result.error;
    if (!result) AppendHistoryLine("  " + NowTimeText() + " 指标文件无法写入：" + result.error);
}

// --- timetables that arrive as files ------------------------------------------------------------

void TFrmMain::NoteFolderEvents() {
    for (const platform::FolderEvent& event : dataWatch_->ReadEvents()) {
        const std::string path = DataFolder() + event.name;
        switch (event.change) {
            case platform::FolderChange::RenamedInto:
                arrivals_.RenamedInto(path);
                break;
            case platform::FolderChange::Written:
                arrivals_.WrittenInPlace(path);
                break;
            case platform::FolderChange::Writing:
                arrivals_.WriterOpen(path);
                break;
            case platform::FolderChange::Closed:
                arrivals_.WriterClosed(path);
                break;
            case platform::FolderChange::Lost:
                arrivals_.WatchLost();
                break;
        }
    }
}

void TFrmMain::StopWatchingData() {
    watchData_ = false;
    dataWatchNotifier_.reset();
}

// The day whose table runs: with the daily load on, the one it last loaded for, so a file for the
// new day waits for the load time as the daily load does; otherwise today.
std::chrono::year_month_day TFrmMain::WatchedDate(std::chrono::year_month_day today) const {
    return FrmSetup && FrmSetup->chkLoadTime->isChecked() ? tableDate_ : today;
}

// On the watch's notice and each second; the second's read of the watch also watches Data/ again
// once a folder that was deleted or moved away is back. In the edit state the arrival waits:
// leaving it saves the edits, and the next check loads.
void TFrmMain::CheckArrivals() {
    if (dataWatch_) NoteFolderEvents();
    if (!watchData_ || editState_ || close_ != CloseState::Open) return;
    const LocalTime now = CurrentClock().Now();
    const auto today = std::chrono::year_month_day(std::chrono::floor<std::chrono::days>(now));
    const std::string chosen = DailyTablePath(programFolder_.toStdString(), WatchedDate(today));
    if (const std::optional<TimetableArrival> arrival = arrivals_.Due(chosen, now))
        TakeArrival(*arrival, now);
}

void TFrmMain::TakeArrival(const TimetableArrival& arrival, LocalTime now) {
    std::error_code readError;
    const std::string bytes = ReadFileBytes(arrival.path, readError);
    const OperatorText problem =
        readError ? Verbatim(readError.message()) : TimetableTextProblem(bytes);
    if (!problem.empty()) {
        arrivals_.Refused(arrival);
        const std::string time = NowTimeText();
        const std::string line =
            HistoryLineText(time, kTableRefusedNoticeText, arrival.path, problem.Worded());
        ShowStatusLine(line, ShownHistoryLine(
                                 HistoryLineText(time, kTableRefusedNoticeText, arrival.path, {})) +
                                 Translated(problem));
        AppendHistoryLine(line);
        return;
    }
    const std::optional<RecoveryCopy> copy = KeepEditsBeforeLoad(now);
    if (!copy) return;
    currentTablePath_ = arrival.path;
    QDir::setCurrent(programFolder_);
    LoadTimetable(currentTablePath_, bytes);
    arrivals_.Loaded(arrival);
    SetStatusLine("  " + NowTimeText() + std::string(kTableLoadedNoticeText) + arrival.path + " " +
                  std::string(kSubjectEnd));
    AppendHistoryLine(StatusLineText());
    ReportRecoveryCopy(*copy);
}

}  // namespace vardo
