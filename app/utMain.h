#pragma once

#include <QTimer>
#include <QWidget>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AlignedSecondTimer.h"
#include "AtomicFile.h"
#include "ProgramPlace.h"
#include "RecoveryCopy.h"
#include "SecondSequencer.h"
#include "SettingsStore.h"
#include "TaskRunnerHost.h"
#include "TaskTable.h"
#include "TimetableArrivals.h"
#include "uParaSet.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;

namespace vardo {

namespace platform {
class FolderWatch;
class FolderWatchNotifier;
class Processes;
class WindowEventPump;
class Windows;
}  // namespace platform

class ExpositionFile;
class Prompts;
class StationMetrics;
class TMyDelay;
class TMyPanel;
class TMyShape;
class TTransparentButton;
class TaskGridView;
class TaskRunner;
class TaskTableModel;
class TSkinData;

// The platform services the main window works through; tests hand in their own prompts.
struct MainWindowServices {
    Prompts& prompts;
    platform::Processes& processes;
    platform::Windows& windows;
};

// The main window: owns the timetable grid, the editor, the history memo and status displays,
// the clock and the settings dialog. Constructing it runs the start-up steps (FormCreate).
class TFrmMain final : public QWidget, public SetupOwner, public TaskRunnerHost {
    Q_OBJECT
  public:
    TFrmMain(const platform::ProgramPlace& place, MainWindowServices services,
             QWidget* parent = nullptr);
    ~TFrmMain() override;

    // State the other parts of the program share.
    QString programFolder() const { return programFolder_; }
    const std::string& currentTablePath() const { return currentTablePath_; }
    const std::string& historyFilePath() const { return historyFilePath_; }
    int autoShutDownSeconds() const { return autoShutDownSeconds_; }
    int autoLoadSeconds() const { return autoLoadSeconds_; }
    TaskTable& table() { return table_; }
    TFrmSetup* FrmSetup = nullptr;

    // SetupOwner
    void SetAutoShutDownSeconds(int secondsOfDay) override { autoShutDownSeconds_ = secondsOfDay; }
    void SetAutoLoadSeconds(int secondsOfDay) override { autoLoadSeconds_ = secondsOfDay; }
    void ApplyTransparency(int degree) override;
    void SwitchSkin(bool on, const QString& skinFile) override;

    // TaskRunnerHost
    bool IsEditState() const override { return editState_; }
    void SetStatusText(int panel, const std::string& text) override;
    void SetStatusLine(const std::string& text) override;
    std::string StatusLineText() const override;
    void AppendHistoryLine(const std::string& line) override;
    void ShowReminder(const TaskReminder& due) override;
    void RaiseMainWindow() override;
    void StopWatchTimer() override { tmChkFlash.stop(); }
    void StartWatchTimer() override;
    std::string ProgramFolder() const override { return programFolder_.toStdString(); }

    QString StatusPanelText(int panel) const;
    // Sets the status line to a history line and shows it as shown, in the program's language.
    void ShowStatusLine(const std::string& line, const QString& shown);

    // Timers (public so the start-up state can be checked). The schedule scan and the clock tick
    // just after each wall-clock second; the watch counts its own ticks.
    AlignedSecondTimer tmScanOrlo;
    QTimer tmChkFlash;
    AlignedSecondTimer tmTimeDate;
    QTimer tmMinute;

    // Top panel.
    TMyPanel* MyPanel1;
    TTransparentButton* btnSetup;
    QLabel* shpDate;
    QLabel* shpTime;
    TMyShape* lbWeek;
    TTransparentButton* btnExit;
    // Editor fields.
    TMyPanel* MyPanel6;
    QLineEdit* edName;
    QLineEdit* edApp;
    QLineEdit* edPara;
    QLineEdit* edTitle;
    QLabel* Label3;
    QLineEdit* edSTime;
    QLabel* Label4;
    QLineEdit* edETime;
    QLineEdit* edTLen;
    QComboBox* cbMonitor;
    QCheckBox* edExclusive;
    QCheckBox* chkSize;
    QRadioButton* rbMax;
    QRadioButton* rbNone;
    // Commands, status line, grid, history and status bar.
    TMyPanel* MyPanel4;
    TTransparentButton* btnEdit;
    TTransparentButton* btnAdd;
    TTransparentButton* btnCopyAdd;
    TTransparentButton* btnInsert;
    TTransparentButton* btnCopyInsert;
    TTransparentButton* btnDel;
    TTransparentButton* btnCancel;
    TTransparentButton* btnSave;
    TTransparentButton* btnSaveas;
    TTransparentButton* btnOpenTask;
    TTransparentButton* btnPlayFlash;
    TTransparentButton* btnStopFlash;
    QCheckBox* chkAppend;
    TMyPanel* MyPanel5;
    TaskGridView* sgJM;
    QPlainTextEdit* ListBox2;
    QStatusBar* StatusBar2;
    // Shown in the status bar only when the windows of other programs cannot be reached.
    QLabel* lbWindowsUnavailable;
    // Shown in the status bar while the chosen skin could not be loaded.
    QLabel* lbSkinProblem;
    // The skin engine's component.
    TSkinData* sd1;
    // Never shown: the handle list and the two diagnostic commands.
    QPlainTextEdit* ListBox1;
    QFrame* Panel1;
    QPushButton* MyEnumWindow;
    QPushButton* MyGetWindow;
    // Holds its interval only; its timer never runs.
    TMyDelay* MyDelay1;

    // Start-up, closing, clock and history.
    // bytes: the file's content already read (and checked), instead of reading path.
    void LoadTimetable(const std::string& path,
                       std::optional<std::string_view> bytes = std::nullopt);
    void tmTimeDateTimer();
    void tmMinuteTimer();
    void tmScanOrloTimer();
    void tmChkFlashTimer();
    void ListBox2Change();
    void btnSetupClick();
    void btnExitClick() { close(); }
    // The session ends (SIGTERM, SIGHUP, SIGINT): the close path without the confirmation box, as
    // on Windows a session end closes the form. Called from the event loop.
    void EndSession();
    // The program is ending without its event loop (the toolkit lost the display and exits): the
    // close steps that need no display run at once, unless the window has closed already.
    void CloseAtExit();
    // The close steps have run; nothing starts or ends any more.
    bool IsClosed() const { return close_ == CloseState::Closed; }

    // Table editor.
    void btnEditClick();
    void SetEditControls(bool on);
    void btnAddClick();
    void btnCopyAddClick();
    void btnInsertClick();
    void btnCopyInsertClick();
    void btnDelClick();
    void btnCancelClick();
    void btnSaveClick();
    void btnSaveasClick();
    void btnOpenTaskClick();
    void btnPlayFlashClick();
    void btnStopFlashClick();
    void MyEnumWindowClick();
    void MyGetWindowClick();
    void ValidateTable();
    void RowToFields();
    void sgJMClick();
    void sgJMRowMoved();
    void sgJMMouseMove(int tableColumn);
    void edNameChange();
    void edAppChange();
    void edParaChange();
    void edTitleChange();
    void edSTimeChange();
    void edETimeChange();
    void edTLenChange();
    void cbMonitorChange();
    void edExclusiveClick();
    void chkSizeClick();
    void rbMaxClick();
    void rbNoneClick();
    void edAppDblClick();
    void edParaDblClick();
    void Label3DblClick();
    void Label4DblClick();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Where the close stands. The close steps run exactly once, however the close comes: by hand,
    // at the automatic close time, at a session end (whatever box is open then), or at exit.
    enum class CloseState {
        Open,
        // A close by hand or at the automatic close time waits in a box for the operator (the
        // confirmation, or the error that the unsaved edits can be kept nowhere). A session end
        // meanwhile runs the close steps, and the close is accepted when the box returns.
        Asking,
        // The close steps are running; an exit from within them must not run them again.
        Closing,
        Closed,
    };

    void FormCreate();
    bool FormClose();
    // Closed by hand or at the automatic close time: whether the operator lets the program close.
    bool OperatorLetsClose();
    // The close steps, then the settings dialog let go.
    void RunCloseSteps();
    // The close steps that need no display: timers off, unsaved edits kept (else said on standard
    // error), tasks ended when "退出时关闭任务" is on, the metrics at exit, the data watch off.
    void StopRunning();
    // Whether the grid holds edits that no file has: it differs from what was last loaded, saved
    // or kept in a recovery copy, in anything a save would store.
    bool HoldsUnsavedEdits() const;
    // The grid, as it is now, is what a file holds.
    void NoteTableKept();
    // Writes the grid to a recovery copy (the Data folder, else the user's state folder) and
    // notes where in the history.
    RecoveryCopy KeepUnsavedEdits(LocalTime now);
    // Says in a box and the history that the unsaved edits could be kept nowhere: at the first
    // failure, and again each hour while it lasts.
    void ReportUnkeptEdits(const std::string& error, LocalTime now);
    void BuildTopPanel();
    void BuildFieldPanel();
    void BuildCommandPanel();
    void BuildDiagnosticPanel();
    void KeepMoveCursorToTheWindow();
    void CreateSkinComponent();
    // Start-up: the skin engine goes on when the settings dialog's "换肤" is ticked.
    void SwitchSkinAtStartUp();
    // Names in the status bar a skin that failed to load (loadError) or lacks elements.
    void ShowSkinProblem(const QString& loadError);
    void ShowHandleList();
    void ShowWindowsAvailability();
    void ConnectEditor();
    void FillMonitorList();
    void LoadHistoryMemo(bool reportLater);
    void FollowHistoryDay();
    void ShowClock(LocalTime now);
    // The timetable for date, chosen as the daily load chooses it, becomes the current one.
    void LoadDailyTimetable(std::chrono::year_month_day date);
    bool DailyLoadDue(std::chrono::year_month_day today, int nowSeconds) const;
    void RunDailyLoad(std::chrono::year_month_day today, LocalTime now);
    // Before a load replaces the grid: the unsaved edits in a recovery copy (an empty one when
    // there are none), or nothing while no folder takes them (the load waits).
    std::optional<RecoveryCopy> KeepEditsBeforeLoad(LocalTime now);
    // Says in the status bar where a load's recovery copy went.
    void ReportRecoveryCopy(const RecoveryCopy& copy);
    // Fleet services ([START] MetricsDir, WatchData), started last at start-up.
    void StartFleetServices();
    void PublishMetrics();
    std::string DataFolder() const;
    void NoteFolderEvents();
    // Closing: no timetable is loaded any more.
    void StopWatchingData();
    std::chrono::year_month_day WatchedDate(std::chrono::year_month_day today) const;
    // Loads the day's choice when a file for it has arrived (outside the edit state).
    void CheckArrivals();
    void TakeArrival(const TimetableArrival& arrival, LocalTime now);
    bool AutoShutDownDue(LocalSeconds second) const;
    void SetCell(int column, const QString& text);
    void WriteNewRowValues(int row);
    void WriteWindowSetting();
    void EnableShowChoices();
    // The current row's cell; writes from the editor go only through SetCell.
    const std::string& CurrentCell(int column) const;
    // The save steps of save and save-as on the current timetable path; false when the file could
    // not be written.
    bool SaveTimetable();
    void ShowCurrentMonitor();
    void ShowTimeCell(QLineEdit& field, int column);
    void ReportSettingsError(const SettingsWriteError& error);
    WriteResult WriteHistoryFile();
    std::vector<std::string> HistoryLines() const;

    platform::ProgramPlace place_;
    QString programFolder_;
    std::string currentTablePath_;
    std::string historyFilePath_;
    bool editState_ = false;
    // What a save of the grid would store, as last loaded, saved or kept in a recovery copy.
    std::vector<std::vector<std::string>> keptTable_;
    int autoShutDownSeconds_ = 0;
    int autoLoadSeconds_ = 0;
    std::optional<std::chrono::year_month_day> lastLoadDate_;
    bool dragging_ = false;
    QPoint dragPoint_;
    CloseState close_ = CloseState::Open;
    std::optional<LocalTime> unkeptEditsReportedAt_;
    bool historyErrorPending_ = false;
    // The history file lacks lines of the memo that the last write could not store.
    bool historyBehind_ = false;
    // Earlier days' files that still lacked lines when the memo moved on to a new day (the
    // folder full or read-only at midnight): each file's path and its whole day, kept until
    // written.
    std::map<std::string, std::vector<std::string>> unwrittenDays_;

    MainWindowServices services_;
    TaskTable table_;
    TaskTableModel* model_;
    SecondSequencer clockSeconds_;
    // Told of the runner's events: declared first, so it outlives the runner.
    std::unique_ptr<StationMetrics> metrics_;
    std::unique_ptr<TaskRunner> runner_;
    // Written only with [START] MetricsDir set; the last write's error, told once.
    std::unique_ptr<ExpositionFile> metricsFile_;
    std::string metricsError_;
    // With [START] WatchData=YES: the watch on Data/ and what it decides on.
    bool watchData_ = false;
    std::unique_ptr<platform::FolderWatch> dataWatch_;
    std::unique_ptr<platform::FolderWatchNotifier> dataWatchNotifier_;
    TimetableArrivals arrivals_;
    // The date the day's choice was last loaded for.
    std::chrono::year_month_day tableDate_;
    // Tells the runner of task windows as they show, from the event loop.
    std::unique_ptr<platform::WindowEventPump> windowEvents_;
    std::vector<QLabel*> statusPanels_;
    // The history line the status line shows, as the history file gets it.
    std::string statusLine_;
    // The handle list as ListBox1 shows it.
    std::vector<std::string> shownHandles_;
};

}  // namespace vardo
