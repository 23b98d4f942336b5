#include "utMain.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTextBlock>
#include <QThread>

#include "FolderWatch.h"
#include "FolderWatchNotifier.h"
#include "HistoryFile.h"
#include "MyDelay.h"
#include "MyPanel.h"
#include "MyShape.h"
#include "PrivateFont.h"
#include "Prompts.h"
#include "QtText.h"
#include "RecoveryCopy.h"
#include "SettingsStore.h"
#include "StationMetrics.h"
#include "SystemServices.h"
#include "TaskGridView.h"
#include "TaskRunner.h"
#include "TaskTableModel.h"
#include "TimeText.h"
#include "TimetableFile.h"
#include "TranslatedText.h"
#include "UserFolders.h"
#include "WindowEventPump.h"
#include "Windows.h"
#include "uShowMM.h"

namespace vardo {

namespace {

const char* const kCloseQuestion = QT_TRANSLATE_NOOP(
    "vardo::TFrmMain", "退出系统，任务自动启动将停止！\n\r\n\r按“取消”按钮停止退出。");
const char* const kCloseCaption = QT_TRANSLATE_NOOP("vardo::TFrmMain", "确认退出");
const char* const kHistoryWriteFailed = QT_TRANSLATE_NOOP("vardo::TFrmMain", "运行历史写入失败：");

// The notes of unsaved edits: the history lines keep them in Chinese, the status bar and the
// boxes show them translated.
const char* const kRecoveryNote = QT_TRANSLATE_NOOP("vardo::TFrmMain", "未保存的修改已另存为：");
const char* const kUnkeptBeforeLoadNote =
    QT_TRANSLATE_NOOP("vardo::TFrmMain", "未保存的修改无法另存，暂不装入任务计划表：");

std::string RecoveryNote(const RecoveryCopy& copy) {
    return kRecoveryNote + copy.path;
}

std::chrono::year_month_day DateOf(LocalTime time) {
    return std::chrono::year_month_day(std::chrono::floor<std::chrono::days>(time));
}

// 宋体 does not exist here; a CJK face at the same pixel size stands in for it.
QFont InterfaceFont() {
    QFont font("WenQuanYi Micro Hei");
    font.setPixelSize(12);
    return font;
}

}  // namespace

TFrmMain::TFrmMain(const platform::ProgramPlace& place, MainWindowServices services,
                   QWidget* parent)
    : QWidget(parent),
      place_(place),
      programFolder_(ToQString(place.folder)),
      services_(services),
      model_(new TaskTableModel(table_, this)),
      metrics_(std::make_unique<StationMetrics>(table_)),
      runner_(std::make_unique<TaskRunner>(table_, *this, services.processes, services.windows)),
      windowEvents_(std::make_unique<platform::WindowEventPump>(services.windows)) {
    setObjectName("FrmMain");
    setWindowTitle("Vardo");
    // A close box only: no minimise or maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(InterfaceFont());
    setCursor(Qt::SizeAllCursor);
    BuildTopPanel();
    BuildFieldPanel();
    BuildCommandPanel();
    BuildDiagnosticPanel();
    KeepMoveCursorToTheWindow();
    CreateSkinComponent();
    ConnectEditor();

    tmChkFlash.setInterval(1000);
    tmMinute.setInterval(60'000);
    connect(&tmScanOrlo, &AlignedSecondTimer::timeout, this, &TFrmMain::tmScanOrloTimer);
    connect(&tmChkFlash, &QTimer::timeout, this, &TFrmMain::tmChkFlashTimer);
    connect(&tmTimeDate, &AlignedSecondTimer::timeout, this, &TFrmMain::tmTimeDateTimer);
    connect(&tmMinute, &QTimer::timeout, this, &TFrmMain::tmMinuteTimer);
    tmScanOrlo.start();
    tmChkFlash.start();
    FormCreate();
}

// The grid's view and model read table_, which is destroyed before QWidget deletes the children.
TFrmMain::~TFrmMain() {
    delete MyPanel4;
    delete model_;
}

void TFrmMain::FormCreate() {
    // MyPanel1 needs no double-buffering switch: Qt paints every widget through a back buffer.
    setFixedSize(MyPanel1->width(), MyPanel4->y() + MyPanel4->height());
    // Centred in the primary monitor's work area, measured from that monitor's corner: on Windows
    // the primary monitor's corner is the desktop's origin, under X it can be anywhere, and from
    // the origin the window would land on whichever monitor lies there (a playout monitor).
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        const QRect work = primary->availableGeometry();
        const QPoint corner = primary->geometry().topLeft();
        move(corner + QPoint((work.width() - width()) / 2, (work.height() - height()) / 2));
    }
    QDir().mkpath(programFolder_ + "Data");

    platform::SetFontSmoothing(true);
    // The operator's own face in the program folder, else the one shipped beside the program
    // (an installed program keeps its folder elsewhere).
    const QString clockFont = QStringLiteral("Digirtu_.ttf");
    if (!platform::AddPrivateFont((programFolder_ + clockFont).toStdString()))
        platform::AddPrivateFont(
            (QCoreApplication::applicationDirPath() + '/' + clockFont).toStdString());
    LoadDailyTimetable(Today());

    FillMonitorList();
    ShowWindowsAvailability();
    historyFilePath_ = DatedFilePath(programFolder_.toStdString(), "History", "txt");
    LoadHistoryMemo(false);

    FrmSetup = new TFrmSetup(place_, *this, services_.prompts, this);
    FrmSetup->FormCreate();

    tmTimeDate.start();
    tmMinute.start();
    // The dialog has just read the stored option into chkMin.
    if (FrmSetup->chkMin->isChecked()) {
        setWindowState(windowState() | Qt::WindowMinimized);
    }
    SwitchSkinAtStartUp();
    StartFleetServices();
}

void TFrmMain::FillMonitorList() {
    cbMonitor->clear();
    const int count = services_.windows.Available()
                          ? static_cast<int>(services_.windows.Monitors().size())
                          : static_cast<int>(QGuiApplication::screens().size());
    for (int monitor = 1; monitor <= std::max(count, 1); ++monitor) {
        cbMonitor->addItem(QString::number(monitor));
    }
    // The first row was loaded before the list existed.
    ShowCurrentMonitor();
}

void TFrmMain::LoadTimetable(const std::string& path, std::optional<std::string_view> bytes) {
    SetStatusText(0, path);
    // The settings error, shown only once the running tasks are in their new rows and the grid
    // counts as loaded: its box runs a nested event loop, and the ticks (or a session end) in
    // there must find them.
    std::optional<SettingsWriteError> settingsError;
    runner_->BeginTableLoad();
    try {
        if (bytes) {
            LoadTimetableFromBytes(table_, *bytes, path, place_.settingsFile);
        } else {
            vardo::LoadTimetable(table_, path, place_.settingsFile);
        }
    } catch (const SettingsWriteError& error) {
        settingsError = error;
    }
    runner_->EndTableLoad();
    table_.SetCurrentRow(1);
    sgJMClick();
    NoteTableKept();
    if (settingsError) ReportSettingsError(*settingsError);
}

void TFrmMain::ReportSettingsError(const SettingsWriteError& error) {
    services_.prompts.ShowError(this, ToQString(error.Report()));
}

// --- closing and dragging -------------------------------------------------------------------

void TFrmMain::closeEvent(QCloseEvent* event) {
    if (FormClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

bool TFrmMain::FormClose() {
    if (close_ == CloseState::Closed) return true;
    if (close_ != CloseState::Open) return false;
    close_ = CloseState::Asking;
    const bool agreed = OperatorLetsClose();
    // A session that ended while a box waited has run the close steps.
    if (close_ == CloseState::Closed) return true;
    close_ = CloseState::Open;
    if (!agreed) return false;
    RunCloseSteps();
    return true;
}

// The program stays up while the unsaved edits can be kept nowhere: closing would throw them away.
bool TFrmMain::OperatorLetsClose() {
    if (FrmSetup && FrmSetup->chkSure->isChecked() &&
        !services_.prompts.ConfirmOkCancel(this, tr(kCloseCaption), tr(kCloseQuestion))) {
        return false;
    }
    if (close_ == CloseState::Closed || !HoldsUnsavedEdits()) return true;
    const RecoveryCopy copy = KeepUnsavedEdits(CurrentClock().Now());
    if (copy) return true;
    services_.prompts.ShowError(this,
                                tr("未保存的修改无法另存，程序不退出：") + ToQString(copy.error));
    return false;
}

void TFrmMain::RunCloseSteps() {
    StopRunning();
    // From here on the program has no settings dialog. The object itself goes with the main
    // window: an error box of the dialog may still be waiting in its own event loop (an automatic
    // close comes while it is shown), and deleting the dialog would delete that box under it.
    if (FrmSetup) FrmSetup->hide();
    FrmSetup = nullptr;
}

void TFrmMain::StopRunning() {
    close_ = CloseState::Closing;
    tmScanOrlo.stop();
    tmChkFlash.stop();
    tmTimeDate.stop();
    tmMinute.stop();
    // Edits the operator was not asked about (a session end, an exit) are kept if any folder
    // takes them; a close cannot wait for anyone, so a failure is left on standard error.
    if (HoldsUnsavedEdits()) {
        if (const RecoveryCopy copy = KeepUnsavedEdits(CurrentClock().Now()); !copy)
            qWarning("vardo: unsaved timetable edits could not be kept: %s", copy.error.c_str());
    }
    if (FrmSetup && FrmSetup->chkShutTask->isChecked()) runner_->EndAllTasks();
    PublishMetrics();
    StopWatchingData();
    close_ = CloseState::Closed;
}

// Whatever box is open, the session cannot wait for the operator: the close steps run now, and
// every event loop, the box's included, is told to end.
void TFrmMain::EndSession() {
    if (close_ == CloseState::Closing || close_ == CloseState::Closed) return;
    RunCloseSteps();
    // Hides the window. Under a box of the close itself Qt's close is already under way and
    // sends no second event: that close is accepted when the box returns.
    close();
    // Without a running loop (tests, the start-up) there is nothing to end.
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

// No window work: the display may be gone.
void TFrmMain::CloseAtExit() {
    if (close_ == CloseState::Closing || close_ == CloseState::Closed) return;
    StopRunning();
}

void TFrmMain::StartWatchTimer() {
    if (close_ == CloseState::Open || close_ == CloseState::Asking) tmChkFlash.start();
}

RecoveryCopy TFrmMain::KeepUnsavedEdits(LocalTime now) {
    RecoveryCopy copy = SaveRecoveryCopy(
        table_, currentTablePath_,
        {programFolder_.toStdString() + "Data/", platform::StateFolder() + "/vardo/"}, now);
    if (copy) {
        NoteTableKept();
        AppendHistoryLine("  " + NowTimeText() + " " + RecoveryNote(copy));
    }
    return copy;
}

void TFrmMain::ReportUnkeptEdits(const std::string& error, LocalTime now) {
    if (unkeptEditsReportedAt_ && now - *unkeptEditsReportedAt_ < std::chrono::hours(1)) return;
    // Set before the box opens: the clock keeps ticking in its loop.
    unkeptEditsReportedAt_ = now;
    AppendHistoryLine("  " + NowTimeText() + " " + kUnkeptBeforeLoadNote + error);
    services_.prompts.ShowError(this, tr(kUnkeptBeforeLoadNote) + ToQString(error));
}

// The move cursor belongs to the window's own surface: a child that sets no cursor of its own
// would inherit it, so the window's direct children start from the arrow (an edit keeps its
// I-beam, and what lies on a panel inherits the panel's arrow).
void TFrmMain::KeepMoveCursorToTheWindow() {
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->testAttribute(Qt::WA_SetCursor)) child->setCursor(Qt::ArrowCursor);
    }
}

// Only a press on the window's own surface drags it. A press a child leaves unhandled (a panel's
// background, a label, a disabled control) still reaches the window, and is not one.
void TFrmMain::mousePressEvent(QMouseEvent* event) {
    if (childAt(event->position().toPoint())) return;
    dragging_ = true;
    dragPoint_ = event->globalPosition().toPoint();
}

void TFrmMain::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    const QPoint point = event->globalPosition().toPoint();
    move(pos() + (point - dragPoint_));
    dragPoint_ = point;
}

void TFrmMain::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
}

void TFrmMain::btnSetupClick() {
    if (!FrmSetup) return;
    FrmSetup->show();
    FrmSetup->raise();
}

void TFrmMain::ApplyTransparency(int degree) {
    const bool translucent = FrmSetup && FrmSetup->chkTransparent->isChecked();
    const qreal opacity = translucent ? degree / 255.0 : 1.0;
    setWindowOpacity(opacity);
    if (FrmSetup) FrmSetup->setWindowOpacity(opacity);
}

// --- clock ------------------------------------------------------------------------------------

void TFrmMain::tmTimeDateTimer() {
    const LocalTime now = CurrentClock().Now();
    // Every wall-clock second is looked at exactly once, so a tick that drifts past the
    // shutdown second, or lands on it twice, neither misses nor repeats the close.
    for (const LocalSeconds second : clockSeconds_.Advance(now)) {
        if (AutoShutDownDue(second)) {
            close();
            return;
        }
    }
    const auto today = DateOf(now);
    if (DailyLoadDue(today, TimeOfDaySeconds(now))) RunDailyLoad(today, now);
    CheckArrivals();
    ShowClock(now);
    PublishMetrics();
}

bool TFrmMain::AutoShutDownDue(LocalSeconds second) const {
    return FrmSetup && FrmSetup->chkAutoShutDown->isChecked() &&
           TimeOfDaySeconds(second) == autoShutDownSeconds_;
}

// Never while editing: the load would throw the edits away. Leaving the edit state saves, and the
// next tick then loads.
bool TFrmMain::DailyLoadDue(std::chrono::year_month_day today, int nowSeconds) const {
    return lastLoadDate_ != today && FrmSetup && FrmSetup->chkLoadTime->isChecked() &&
           nowSeconds >= autoLoadSeconds_ && !editState_;
}

void TFrmMain::RunDailyLoad(std::chrono::year_month_day today, LocalTime now) {
    const std::optional<RecoveryCopy> copy = KeepEditsBeforeLoad(now);
    if (!copy) return;
    lastLoadDate_ = today;
    LoadDailyTimetable(today);
    ReportRecoveryCopy(*copy);
}

// Edits that a failed save could not write would be thrown away by a load: they go to a recovery
// copy first, in the Data folder or else the user's state folder. While no copy can be written
// anywhere, the load waits (nothing is returned), and the operator is told.
std::optional<RecoveryCopy> TFrmMain::KeepEditsBeforeLoad(LocalTime now) {
    if (!HoldsUnsavedEdits()) return RecoveryCopy{};
    RecoveryCopy copy = KeepUnsavedEdits(now);
    if (!copy) {
        ReportUnkeptEdits(copy.error, now);
        // After the history line, whose failure would take the panel.
        SetStatusText(0, (tr(kUnkeptBeforeLoadNote) + ToQString(copy.error)).toStdString());
        return std::nullopt;
    }
    unkeptEditsReportedAt_.reset();
    return copy;
}

void TFrmMain::ReportRecoveryCopy(const RecoveryCopy& copy) {
    if (copy) {
        SetStatusText(
            0, currentTablePath_ + "  " + (tr(kRecoveryNote) + ToQString(copy.path)).toStdString());
    }
}

void TFrmMain::LoadDailyTimetable(std::chrono::year_month_day date) {
    currentTablePath_ = DailyTablePath(programFolder_.toStdString(), date);
    tableDate_ = date;
    QDir::setCurrent(programFolder_);
    LoadTimetable(currentTablePath_);
    arrivals_.Loaded(currentTablePath_);
}

void TFrmMain::ShowClock(LocalTime now) {
    const auto today = DateOf(now);
    shpDate->setText(ToQString(DateText(true, today)));
    shpTime->setText(ToQString(SecondsToTimeText(TimeOfDaySeconds(now))));
    lbWeek->SetCaption(Translated(kWeekdayTextContext, WeekdayName(today)));
}

// --- task runner --------------------------------------------------------------------------------

void TFrmMain::tmScanOrloTimer() {
    runner_->ScheduleTick();
}
void TFrmMain::tmChkFlashTimer() {
    runner_->WatchTick();
    ShowHandleList();
    ShowWindowsAvailability();
}

// The X connection can also be lost while the program runs.
void TFrmMain::ShowWindowsAvailability() {
    lbWindowsUnavailable->setVisible(!services_.windows.Available());
}
void TFrmMain::btnPlayFlashClick() {
    runner_->btnPlayFlashClick();
}
void TFrmMain::btnStopFlashClick() {
    runner_->btnStopFlashClick();
}
void TFrmMain::MyEnumWindowClick() {
    runner_->MyEnumWindow();
    ShowHandleList();
}
void TFrmMain::MyGetWindowClick() {
    runner_->MyGetWindow();
    ShowHandleList();
}

// Runs every watch tick; the list rarely changes, so an unchanged one costs a comparison only.
void TFrmMain::ShowHandleList() {
    const std::vector<std::string>& handles = runner_->HandleList();
    if (handles == shownHandles_) return;
    shownHandles_ = handles;
    QStringList lines;
    for (const std::string& line : handles) lines << ToQString(line);
    ListBox1->setPlainText(lines.join('\n'));
}

void TFrmMain::RaiseMainWindow() {
    raise();
}

// Each reminder is a window of its own that deletes itself when closed; the ones still open go
// with the main window.
void TFrmMain::ShowReminder(const TaskReminder& due) {
    activateWindow();
    auto* reminder = new TFrmMM(this);
    reminder->plMM()->setText(tr("  提示：任务%1\n\r【%2】\n\r已经运行了：%3")
                                  .arg(due.row)
                                  .arg(ToQString(due.description), ToQString(due.runTime)));
    reminder->show();
}

// --- history and status -----------------------------------------------------------------------

void TFrmMain::SetStatusText(int panel, const std::string& text) {
    if (panel < 0 || panel >= static_cast<int>(statusPanels_.size())) return;
    statusPanels_[static_cast<size_t>(panel)]->setText(" " + ToQString(text));
}

QString TFrmMain::StatusPanelText(int panel) const {
    if (panel < 0 || panel >= static_cast<int>(statusPanels_.size())) return {};
    return statusPanels_[static_cast<size_t>(panel)]->text();
}

void TFrmMain::SetStatusLine(const std::string& text) {
    ShowStatusLine(text, ShownHistoryLine(text));
}

void TFrmMain::ShowStatusLine(const std::string& line, const QString& shown) {
    statusLine_ = line;
    MyPanel5->SetCaption(shown);
}

std::string TFrmMain::StatusLineText() const {
    return statusLine_;
}

void TFrmMain::AppendHistoryLine(const std::string& line) {
    FollowHistoryDay();
    ListBox2->appendPlainText(ToQString(line));
    ListBox2Change();
}

std::vector<std::string> TFrmMain::HistoryLines() const {
    std::vector<std::string> lines;
    const QTextDocument* document = ListBox2->document();
    if (document->isEmpty()) return lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        lines.push_back(block.text().toStdString());
    }
    return lines;
}

// The error box waits for the operator in an event loop of its own. Opened inside the start or
// end that logged the line, it would hold that tick, and with it the schedule, until someone
// clicks OK; so it opens once the tick has finished. Lines keep coming while it waits, and
// each would open another box inside it: only one is pending or open at a time, and every new
// line retries the write.
void TFrmMain::ListBox2Change() {
    if (!FrmSetup || !FrmSetup->chkSaveHis->isChecked()) return;
    const WriteResult result = WriteHistoryFile();
    if (!result) metrics_->CountHistoryWriteFailure();
    if (result || historyErrorPending_) return;
    historyErrorPending_ = true;
    QTimer::singleShot(0, this, [this, text = ToQString(result.error)] {
        services_.prompts.ShowError(this, text);
        historyErrorPending_ = false;
    });
}

// While a file lacks lines, the status bar says why; the memo (and, for earlier days,
// unwrittenDays_) keeps them all, so the next write that succeeds stores the whole day.
WriteResult TFrmMain::WriteHistoryFile() {
    WriteResult result = SaveHistoryLines(historyFilePath_, HistoryLines());
    historyBehind_ = !result;
    for (auto day = unwrittenDays_.begin(); result && day != unwrittenDays_.end();) {
        result = SaveHistoryLines(day->first, day->second);
        if (result) day = unwrittenDays_.erase(day);
    }
    if (!result) {
        SetStatusText(0, tr(kHistoryWriteFailed).toStdString() + result.error);
    } else if (StatusPanelText(0).startsWith(" " + tr(kHistoryWriteFailed))) {
        SetStatusText(0, currentTablePath_);
    }
    return result;
}

// An unreadable file is reported after the line or tick that switched to it, never inside it.
void TFrmMain::LoadHistoryMemo(bool reportLater) {
    ListBox2->clear();
    const HistoryLoad loaded = LoadHistoryLines(historyFilePath_);
    if (!loaded.error.empty()) {
        if (reportLater) {
            QTimer::singleShot(0, this, [this, text = ToQString(loaded.error)] {
                services_.prompts.ShowError(this, text);
            });
        } else {
            services_.prompts.ShowError(this, ToQString(loaded.error));
        }
    }
    QStringList lines;
    for (const std::string& line : loaded.lines) lines.push_back(ToQString(line));
    if (!lines.isEmpty()) ListBox2->setPlainText(lines.join('\n'));
}

// The memo holds the lines of one day's file. Its first line of a new day, or the first minute
// tick if it comes earlier, moves the memo to that day's file, so a line logged at 00:00:00
// lands in the file of its own date.
void TFrmMain::FollowHistoryDay() {
    const std::string path = DatedFilePath(programFolder_.toStdString(), "History", "txt");
    if (path == historyFilePath_) return;
    if (std::exchange(historyBehind_, false)) unwrittenDays_[historyFilePath_] = HistoryLines();
    historyFilePath_ = path;
    LoadHistoryMemo(true);
}

void TFrmMain::tmMinuteTimer() {
    // A file that missed lines (a full disk, a read-only folder) catches up without waiting for
    // the next line, and before the memo moves on to a new day. Only the status bar reports here.
    if ((historyBehind_ || !unwrittenDays_.empty()) && FrmSetup &&
        FrmSetup->chkSaveHis->isChecked()) {
        WriteHistoryFile();
    }
    FollowHistoryDay();
}

}  // namespace vardo
