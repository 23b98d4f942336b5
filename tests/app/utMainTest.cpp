#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include "MainWindowFixture.h"
#include "TaskGridView.h"
#include "TaskTable.h"
#include "uShowMM.h"

#include <sys/wait.h>
#include <csignal>
#include <fstream>

namespace vardo::test {
namespace {

using namespace std::chrono_literals;

using MainWindowTest = MainWindowFixture;

const std::string kTaskLine =
    "  1^^/bin/true^^^^晨间节目^^08:00:00^^^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n";

TEST_F(MainWindowTest, FirstStart_EmptyFolder_PreparesFoldersGridAndWritesOnlyChangedKeys) {
    const auto main = Start();

    EXPECT_TRUE(QDir(Path("Data")).exists());
    EXPECT_TRUE(QDir(Path("History")).exists());
    EXPECT_EQ(main->table().RowCount(), 2);
    EXPECT_EQ(main->table().Cell(ColNumber, 1), "  1");
    EXPECT_EQ(main->table().Cell(ColApplication, 0), "程序文件");
    EXPECT_TRUE(main->ListBox2->toPlainText().isEmpty());
    EXPECT_EQ(main->StatusPanelText(0), " " + Path(kDefaultTable));
    EXPECT_EQ(main->StatusPanelText(1), " 任务说明");
    EXPECT_EQ(main->MyPanel5->Caption(), "  正在播放：无");
    EXPECT_EQ(ReadFile("VARDO.INI"), "[START]\r\nLastOrloJM=" + StdPath(kDefaultTable) +
                                         "\r\nchkLoadTime=NO\r\nchkMin=NO\r\nchkSaveHis=NO\r\n");
    EXPECT_FALSE(QFile::exists(Path(kDefaultTable)));
    EXPECT_TRUE(main->tmTimeDate.isActive());
    EXPECT_TRUE(main->tmScanOrlo.isActive());
    EXPECT_FALSE(main->isMinimized());
    EXPECT_EQ(main->autoShutDownSeconds(), 3 * 3600);
    EXPECT_EQ(main->autoLoadSeconds(), 6 * 3600);
}

// The installed program's first start: its folder is made in the user's data folder, the
// executable's own folder stays as the package left it.
TEST_F(MainWindowTest, FirstStart_Installed_MakesTheProgramFolderInTheDataFolder) {
    QDir().mkpath(Path("bin"));
    qputenv("XDG_DATA_HOME", Path("data").toUtf8());
    const auto place = platform::InstalledPlace(StdPath("bin/vardo"), StdPath("shipped"));
    qunsetenv("XDG_DATA_HOME");
    const auto main =
        std::make_unique<TFrmMain>(place, MainWindowServices{prompts_, processes_, windows_});

    EXPECT_TRUE(QDir(Path("data/vardo/Data")).exists());
    EXPECT_TRUE(QDir(Path("data/vardo/History")).exists());
    EXPECT_NE(ReadFile("data/vardo/VARDO.INI").find("\r\nchkMin=NO\r\n"), std::string::npos);
    EXPECT_EQ(main->StatusPanelText(0), " " + Path("data/vardo/" + kDefaultTable));
    EXPECT_TRUE(QDir(Path("bin")).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST_F(MainWindowTest, Start_DatedTimetable_LoadsItAndShowsFirstRow) {
    WriteFile("Data/2026-03-05.tab", kTaskLine);
    WriteFile(kDefaultTable, "");
    const auto main = Start();

    EXPECT_EQ(main->currentTablePath(), StdPath("Data/2026-03-05.tab"));
    EXPECT_EQ(main->table().Cell(ColDescription, 1), "晨间节目");
    EXPECT_EQ(main->edName->text(), "晨间节目");
    EXPECT_EQ(main->StatusPanelText(2), " 晨间节目");
}

TEST_F(MainWindowTest, Start_ChkMinYesOrTrue_StartsMinimised) {
    for (const char* value : {"yes", "TRUE"}) {
        WriteSettings(std::string("chkMin=") + value + "\r\n");
        EXPECT_TRUE(Start()->windowState() & Qt::WindowMinimized) << value;
    }
    for (const char* value : {"NO", "", "1"}) {
        WriteSettings(std::string("chkMin=") + value + "\r\n");
        EXPECT_FALSE(Start()->windowState() & Qt::WindowMinimized) << value;
    }
}

TEST_F(MainWindowTest, Close_ConfirmationCancelled_KeepsRunningWithClock) {
    WriteSettings("chkSure=YES\r\n");
    const auto main = Start();
    main->show();

    EXPECT_FALSE(main->close());

    ASSERT_EQ(prompts_.confirmations.size(), 1u);
    EXPECT_EQ(prompts_.confirmations[0].caption, "确认退出");
    EXPECT_EQ(prompts_.confirmations[0].text,
              "退出系统，任务自动启动将停止！\n\r\n\r按“取消”按钮停止退出。");
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(main->tmTimeDate.isActive());
    EXPECT_NE(main->FrmSetup, nullptr);
}

TEST_F(MainWindowTest, Close_ConfirmationAnsweredOk_StopsClockAndLetsGoOfTheSettingsDialog) {
    WriteSettings("chkSure=YES\r\n");
    const auto main = Start();
    main->show();
    main->btnSetupClick();
    const TFrmSetup* dialog = main->FrmSetup;
    prompts_.confirmAnswers = {true};

    EXPECT_TRUE(main->close());

    EXPECT_FALSE(main->isVisible());
    EXPECT_FALSE(main->tmTimeDate.isActive());
    EXPECT_EQ(main->FrmSetup, nullptr);
    EXPECT_FALSE(dialog->isVisible());  // it goes with the main window
}

TEST_F(MainWindowTest, Close_WithoutChkSure_AsksNothing) {
    const auto main = Start();
    main->show();

    EXPECT_TRUE(main->close());
    EXPECT_TRUE(prompts_.confirmations.empty());
}

// The automatic close can come while a settings error box, a child of the dialog, waits in its
// own event loop.
TEST_F(MainWindowTest, Close_WhileTheSettingsDialogShowsAnError_LeavesTheBoxToFinish) {
    const auto main = Start();
    main->show();
    QFile::remove(Path("VARDO.INI"));
    QDir().mkpath(Path("VARDO.INI"));  // no settings write can succeed now
    prompts_.whileErrorShown = [&](QWidget* parent) {
        QDialog box(parent);
        QTimer::singleShot(0, &box, [&] {
            main->close();
            box.reject();
        });
        box.exec();
    };

    main->FrmSetup->chkMin->setChecked(true);

    EXPECT_EQ(prompts_.errors.size(), 1);
    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(main->FrmSetup, nullptr);
}

TEST_F(MainWindowTest, Clock_Tick_ShowsDateTimeAndWeekday) {
    clock_.Set(At(2025, 3, 5, 14, 7, 9));
    const auto main = Start();

    main->tmTimeDateTimer();

    EXPECT_EQ(main->shpDate->text(), "2025-03-05");
    EXPECT_EQ(main->shpTime->text(), "14:07:09");
    EXPECT_EQ(main->lbWeek->Caption(), "星期三");
}

// Without the program folder's font file, the clock shows the free seven-segment face.
TEST_F(MainWindowTest, Clock_ShowsDateAndTimeWholeInTheSevenSegmentFace) {
    const QString face = "/usr/share/fonts/truetype/dseg/DSEG7Classic-Italic.ttf";
    ASSERT_TRUE(QFile::exists(face)) << "DSEG7 is not installed (Debian package fonts-dseg)";
    const auto main = Start();
    main->tmTimeDateTimer();
    for (const QLabel* label : {main->shpDate, main->shpTime}) {
        const QFontInfo shown(label->font());
        EXPECT_EQ(shown.family(), "DSEG7 Classic");
        EXPECT_TRUE(shown.italic());
        // The seven-segment face is wider than the fields were drawn for: the text stays whole.
        ASSERT_FALSE(label->text().isEmpty());
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
            << label->text().toStdString();
    }
}

TEST_F(MainWindowTest, AutoShutDown_TickSkipsTheSecond_StillClosesExactlyOnce) {
    WriteSettings("chkAutoShutDown=YES\r\nTimePicker=8:00:05\r\nchkSure=YES\r\n");
    const auto main = Start();
    main->show();
    main->tmTimeDateTimer();  // 08:00:00
    clock_.Set(At(2026, 3, 5, 8, 0, 4, 900));
    main->tmTimeDateTimer();
    EXPECT_TRUE(prompts_.confirmations.empty());

    clock_.Set(At(2026, 3, 5, 8, 0, 6, 50));  // the timer drifted past 08:00:05
    main->tmTimeDateTimer();
    EXPECT_EQ(prompts_.confirmations.size(), 1u);

    clock_.Set(At(2026, 3, 5, 8, 0, 6, 900));  // a second tick within the same second
    main->tmTimeDateTimer();
    EXPECT_EQ(prompts_.confirmations.size(), 1u);
    EXPECT_TRUE(main->isVisible());
}

TEST_F(MainWindowTest, AutoShutDown_ConfirmedOk_ClosesThroughTheOrdinaryPath) {
    WriteSettings("chkAutoShutDown=YES\r\nTimePicker=8:00:01\r\nchkSure=YES\r\n");
    const auto main = Start();
    main->show();
    prompts_.confirmAnswers = {true};
    main->tmTimeDateTimer();
    clock_.AdvanceSecond();
    main->tmTimeDateTimer();

    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(main->FrmSetup, nullptr);
}

TEST_F(MainWindowTest, DailyLoad_AtItsTime_LoadsTheDaysTableOncePerDate) {
    WriteSettings("chkLoadTime=YES\r\nloadTimePicker=9:00:00\r\n");
    clock_.Set(At(2026, 3, 5, 8, 59, 58));
    const auto main = Start();
    WriteFile("Data/2026-03-05.tab", kTaskLine);

    main->tmTimeDateTimer();
    clock_.AdvanceSecond();
    main->tmTimeDateTimer();
    EXPECT_EQ(main->currentTablePath(), StdPath(kDefaultTable));

    clock_.AdvanceSecond();  // 09:00:00
    main->tmTimeDateTimer();
    EXPECT_EQ(main->currentTablePath(), StdPath("Data/2026-03-05.tab"));
    EXPECT_EQ(main->table().Cell(ColApplication, 1), "/bin/true");

    main->table().SetCell(ColDescription, 1, "changed");
    clock_.AdvanceSecond();
    main->tmTimeDateTimer();
    EXPECT_EQ(main->table().Cell(ColDescription, 1), "changed");
}

TEST_F(MainWindowTest, DailyLoad_SameSecondAsShutDown_CloseIsHandledFirst) {
    WriteSettings(
        "chkLoadTime=YES\r\nloadTimePicker=9:00:00\r\nchkAutoShutDown=YES\r\n"
        "TimePicker=9:00:00\r\nchkSure=YES\r\n");
    clock_.Set(At(2026, 3, 5, 9, 0, 0));
    const auto main = Start();
    main->show();
    WriteFile("Data/2026-03-05.tab", kTaskLine);

    main->tmTimeDateTimer();
    EXPECT_EQ(prompts_.confirmations.size(), 1u);
    EXPECT_EQ(main->currentTablePath(), StdPath(kDefaultTable));

    clock_.AdvanceSecond();
    main->tmTimeDateTimer();
    EXPECT_EQ(main->currentTablePath(), StdPath("Data/2026-03-05.tab"));
}

TEST_F(MainWindowTest, DailyLoad_InEditState_WaitsUntilTheEditsAreSaved) {
    WriteSettings("chkLoadTime=YES\r\nloadTimePicker=9:00:00\r\n");
    WriteFile(kDefaultTable, kTaskLine);
    clock_.Set(At(2026, 3, 5, 8, 59, 59));
    const auto main = Start();
    WriteFile("Data/2026-03-05.tab", kTaskLine);
    main->btnEditClick();
    main->edName->setText("edited");

    clock_.AdvanceSecond();
    main->tmTimeDateTimer();
    clock_.AdvanceSecond();
    main->tmTimeDateTimer();
    EXPECT_EQ(main->currentTablePath(), StdPath(kDefaultTable));
    EXPECT_EQ(main->table().Cell(ColDescription, 1), "edited");

    main->btnEditClick();
    EXPECT_NE(ReadFile(kDefaultTable).find("^^edited^^"), std::string::npos);
    clock_.AdvanceSecond();
    main->tmTimeDateTimer();
    EXPECT_EQ(main->currentTablePath(), StdPath("Data/2026-03-05.tab"));
}

// Leaving the edit state resumes the scans even when the save fails; the daily load then keeps the
// unsaved edits in a recovery copy before it replaces them.
TEST_F(MainWindowTest, DailyLoad_AfterAFailedSave_KeepsTheEditsInARecoveryCopyThenLoads) {
    WriteSettings("chkLoadTime=YES\r\nloadTimePicker=9:00:00\r\n");
    QDir().mkpath(Path(kDefaultTable));  // a folder where the timetable should be written
    clock_.Set(At(2026, 3, 5, 8, 59, 59));
    const auto main = Start();
    WriteFile("Data/2026-03-05.tab", kTaskLine);
    main->btnEditClick();
    main->edApp->setText("/bin/edited");

    main->btnEditClick();
    EXPECT_EQ(prompts_.errors.size(), 1);
    EXPECT_TRUE(main->StatusPanelText(0).startsWith(" 保存失败："));
    EXPECT_FALSE(main->IsEditState());

    clock_.AdvanceSecond();
    main->tmTimeDateTimer();
    EXPECT_EQ(main->currentTablePath(), StdPath("Data/2026-03-05.tab"));
    EXPECT_EQ(main->table().Cell(ColApplication, 1), "/bin/true");
    const QString copy = Path("Data/任务计划表-未保存-20260305-090000.tab");
    EXPECT_NE(ReadFile("Data/任务计划表-未保存-20260305-090000.tab").find("^^/bin/edited^^"),
              std::string::npos);
    EXPECT_TRUE(main->StatusPanelText(0).endsWith("未保存的修改已另存为：" + copy));
    EXPECT_EQ(main->ListBox2->toPlainText(), "  09:00:00 未保存的修改已另存为：" + copy);
}

TEST_F(MainWindowTest, DailyLoad_DataFolderGoneBad_PutsTheRecoveryCopyInTheStateFolder) {
    WriteSettings("chkLoadTime=YES\r\nloadTimePicker=9:00:00\r\n");
    clock_.Set(At(2026, 3, 5, 8, 59, 59));
    const auto main = Start();
    QDir(Path("Data")).removeRecursively();
    WriteFile("Data", "");  // no timetable can be written in there now
    main->btnEditClick();
    main->edApp->setText("/bin/edited");
    main->btnEditClick();
    ASSERT_EQ(prompts_.errors.size(), 1);

    clock_.AdvanceSecond();
    main->tmTimeDateTimer();
    EXPECT_EQ(main->table().Cell(ColApplication, 1), "");
    EXPECT_NE(ReadFile("state/vardo/任务计划表-未保存-20260305-090000.tab").find("^^/bin/edited^^"),
              std::string::npos);
    EXPECT_TRUE(main->StatusPanelText(0).endsWith(
        "未保存的修改已另存为：" + Path("state/vardo/任务计划表-未保存-20260305-090000.tab")));
}

TEST_F(MainWindowTest, DailyLoad_RecoveryCopyPossibleNowhere_SaysSoOnceAndAgainEachHour) {
    WriteSettings("chkLoadTime=YES\r\nloadTimePicker=9:00:00\r\n");
    clock_.Set(At(2026, 3, 5, 8, 59, 59));
    const auto main = Start();
    QDir(Path("Data")).removeRecursively();
    WriteFile("Data", "");  // neither folder can take a file now
    WriteFile("state", "");
    main->btnEditClick();
    main->edApp->setText("/bin/edited");
    main->btnEditClick();
    ASSERT_EQ(prompts_.errors.size(), 1);

    for (int second = 0; second < 10; ++second) {
        clock_.AdvanceSecond();
        main->tmTimeDateTimer();
    }
    ASSERT_EQ(prompts_.errors.size(), 2);
    EXPECT_TRUE(prompts_.errors[1].startsWith("未保存的修改无法另存，暂不装入任务计划表："))
        << prompts_.errors[1].toStdString();
    EXPECT_EQ(main->ListBox2->toPlainText(), "  09:00:00 " + prompts_.errors[1]);
    EXPECT_EQ(main->table().Cell(ColApplication, 1), "/bin/edited");

    clock_.Set(At(2026, 3, 5, 10, 0, 0));
    main->tmTimeDateTimer();
    EXPECT_EQ(prompts_.errors.size(), 3);
}

TEST_F(MainWindowTest, History_SavingOn_WritesEachLineToTheFileOfItsOwnDate) {
    WriteSettings("chkSaveHis=YES\r\n");
    WriteFile("History/20260305.txt", "  07:00:00 earlier\r\n");
    clock_.Set(At(2026, 3, 5, 23, 59, 30));
    const auto main = Start();
    EXPECT_EQ(main->ListBox2->toPlainText(), "  07:00:00 earlier");

    main->AppendHistoryLine("  23:59:40 first");
    EXPECT_EQ(ReadFile("History/20260305.txt"), "  07:00:00 earlier\r\n  23:59:40 first\r\n");

    // The day's first second, before any minute tick: the line opens the new day's file.
    clock_.Set(At(2026, 3, 6, 0, 0, 0));
    main->AppendHistoryLine("  00:00:00 at midnight");
    EXPECT_EQ(main->historyFilePath(), StdPath("History/20260306.txt"));
    EXPECT_EQ(main->ListBox2->toPlainText(), "  00:00:00 at midnight");
    EXPECT_EQ(ReadFile("History/20260305.txt"), "  07:00:00 earlier\r\n  23:59:40 first\r\n");
    EXPECT_EQ(ReadFile("History/20260306.txt"), "  00:00:00 at midnight\r\n");

    clock_.Set(At(2026, 3, 6, 0, 1, 0));
    main->tmMinuteTimer();
    main->AppendHistoryLine("  00:01:00 next");
    EXPECT_EQ(ReadFile("History/20260306.txt"), "  00:00:00 at midnight\r\n  00:01:00 next\r\n");
}

TEST_F(MainWindowTest, History_MinuteTickAfterMidnight_MovesTheMemoToTheNewDay) {
    clock_.Set(At(2026, 3, 5, 23, 59, 30));
    const auto main = Start();
    main->AppendHistoryLine("  23:59:40 first");

    clock_.Set(At(2026, 3, 6, 0, 0, 30));
    main->tmMinuteTimer();
    EXPECT_EQ(main->historyFilePath(), StdPath("History/20260306.txt"));
    EXPECT_TRUE(main->ListBox2->toPlainText().isEmpty());
    EXPECT_FALSE(QFile::exists(Path("History/20260306.txt")));
}

TEST_F(MainWindowTest, History_SavingSwitchedOnMidDay_WritesEarlierLinesToo) {
    const auto main = Start();
    main->AppendHistoryLine("  08:00:00 one");
    main->AppendHistoryLine("  08:00:01 two");
    EXPECT_FALSE(QFile::exists(Path("History/20260305.txt")));

    main->FrmSetup->chkSaveHis->setChecked(true);
    main->AppendHistoryLine("  08:00:02 three");

    EXPECT_EQ(ReadFile("History/20260305.txt"),
              "  08:00:00 one\r\n  08:00:01 two\r\n  08:00:02 three\r\n");
}

TEST_F(MainWindowTest, History_FileCannotBeWritten_ShowsErrorKeepsLinesAndRetries) {
    WriteSettings("chkSaveHis=YES\r\n");
    const auto main = Start();
    QDir().mkpath(Path("History/20260305.txt"));  // a folder where the file should be
    // A line logged while the error box waits fails too, but opens no box inside the first.
    bool lineLogged = false;
    prompts_.whileErrorShown = [&](QWidget*) {
        if (std::exchange(lineLogged, true)) return;
        main->AppendHistoryLine("  08:00:01 two");
    };

    // The box opens after the start or end that logged the line, never inside it.
    main->AppendHistoryLine("  08:00:00 one");
    EXPECT_TRUE(prompts_.errors.isEmpty());
    QCoreApplication::processEvents();
    ASSERT_EQ(prompts_.errors.size(), 1);
    EXPECT_TRUE(prompts_.errors[0].contains("20260305.txt")) << prompts_.errors[0].toStdString();
    QCoreApplication::processEvents();
    EXPECT_EQ(prompts_.errors.size(), 1);
    EXPECT_EQ(main->ListBox2->toPlainText(), "  08:00:00 one\n  08:00:01 two");

    main->AppendHistoryLine("  08:00:02 three");
    QCoreApplication::processEvents();
    EXPECT_EQ(prompts_.errors.size(), 2);

    QDir().rmdir(Path("History/20260305.txt"));
    main->AppendHistoryLine("  08:00:03 four");
    EXPECT_EQ(ReadFile("History/20260305.txt"),
              "  08:00:00 one\r\n  08:00:01 two\r\n  08:00:02 three\r\n  08:00:03 four\r\n");
}

TEST_F(MainWindowTest, SetStatusText_PanelOutOfRange_ChangesNothing) {
    const auto main = Start();
    main->SetStatusText(3, "12:00:00");
    main->SetStatusText(5, "ignored");

    EXPECT_EQ(main->StatusPanelText(3), " 12:00:00");
    EXPECT_EQ(main->StatusPanelText(5), "");
    EXPECT_EQ(main->StatusPanelText(4), "");
}

TEST_F(MainWindowTest, Transparency_StoredDegree_AppliesToBothWindows) {
    WriteSettings("chkTransparent=YES\r\nTransDegree=200\r\n");
    const auto main = Start();

    EXPECT_EQ(main->FrmSetup->tkTransparent->value(), 200);
    EXPECT_NEAR(main->windowOpacity(), 200 / 255.0, 0.01);
    EXPECT_NEAR(main->FrmSetup->windowOpacity(), 200 / 255.0, 0.01);

    main->FrmSetup->chkTransparent->setChecked(false);
    main->FrmSetup->tkTransparent->setValue(150);
    EXPECT_EQ(main->windowOpacity(), 1.0);
    EXPECT_EQ(ReadFile("VARDO.INI").find("TransDegree=150") != std::string::npos, true);
}

const std::string kSleepLine = "  1^^/bin/sleep^^30^^nap^^^^^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n";

bool Alive(int pid) {
    return pid > 0 && kill(pid, 0) == 0;
}

TEST_F(MainWindowTest, PlayAndStop_CurrentRow_RunsTheTaskAndLogsBothEvents) {
    WriteFile(kDefaultTable, kSleepLine);
    const auto main = Start();

    main->btnPlayFlash->click();
    EXPECT_EQ(main->table().Cell(ColRunState, 1), "在播");
    const int pid = std::atoi(main->table().Cell(ColProcessId, 1).c_str());
    EXPECT_TRUE(Alive(pid));
    EXPECT_EQ(main->ListBox2->toPlainText(), "  08:00:00 启动任务: 【/bin/sleep 】  nap");
    EXPECT_EQ(main->MyPanel5->Caption(), main->ListBox2->toPlainText());

    main->btnStopFlash->click();
    EXPECT_EQ(main->table().Cell(ColRunState, 1), "停播");
    EXPECT_TRUE(
        main->ListBox2->toPlainText().endsWith("  08:00:00 结束任务: 【/bin/sleep 】  nap"));
}

TEST_F(MainWindowTest, Close_WithChkShutTask_EndsTheRunningTasks) {
    WriteFile(kDefaultTable, kSleepLine);
    const auto main = Start();
    main->show();
    main->btnPlayFlashClick();

    ASSERT_TRUE(main->close());
    EXPECT_EQ(main->table().Cell(ColRunState, 1), "停播");
}

// Logout, shutdown or a service stop: no question, the tasks ended, the edits of the open edit
// state kept in a recovery copy.
TEST_F(MainWindowTest, EndSession_InTheEditState_ClosesWithoutAskingKeepsTheEditsEndsTheTasks) {
    WriteSettings("chkSure=YES\r\n");
    WriteFile(kDefaultTable, kSleepLine);
    const auto main = Start();
    main->show();
    main->btnPlayFlashClick();
    const int pid = std::atoi(main->table().Cell(ColProcessId, 1).c_str());
    main->btnEditClick();
    main->edPara->setText("60");

    main->EndSession();
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(prompts_.confirmations.empty());
    EXPECT_EQ(main->table().Cell(ColRunState, 1), "停播");
    EXPECT_TRUE(QTest::qWaitFor([&] { return Ended(pid); }, 5000));
    EXPECT_NE(ReadFile("Data/任务计划表-未保存-20260305-080000.tab").find("^^/bin/sleep^^60^^"),
              std::string::npos);
}

TEST_F(MainWindowTest, Close_AfterAFailedSave_KeepsTheEditsInARecoveryCopyFirst) {
    QDir().mkpath(Path(kDefaultTable));  // a folder where the timetable should be written
    const auto main = Start();
    main->show();
    main->btnEditClick();
    main->edApp->setText("/bin/edited");
    main->btnEditClick();
    ASSERT_EQ(prompts_.errors.size(), 1);

    EXPECT_TRUE(main->close());
    EXPECT_NE(ReadFile("Data/任务计划表-未保存-20260305-080000.tab").find("^^/bin/edited^^"),
              std::string::npos);
}

TEST_F(MainWindowTest, Close_WithoutChkShutTask_LeavesTasksRunning) {
    WriteSettings("chkShutTask=NO\r\n");
    WriteFile(kDefaultTable, kSleepLine);
    const auto main = Start();
    main->show();
    main->btnPlayFlashClick();
    const int pid = std::atoi(main->table().Cell(ColProcessId, 1).c_str());

    ASSERT_TRUE(main->close());
    EXPECT_EQ(main->table().Cell(ColRunState, 1), "在播");
    EXPECT_TRUE(Alive(pid));
    kill(pid, SIGKILL);
}

TEST_F(MainWindowTest, DailyLoad_WhileATaskRuns_KeepsItTrackedAndEndsItOnExit) {
    WriteSettings("chkLoadTime=YES\r\nloadTimePicker=9:00:00\r\n");
    WriteFile(kDefaultTable, kSleepLine);
    clock_.Set(At(2026, 3, 5, 8, 59, 59));
    const auto main = Start();
    main->show();
    main->btnPlayFlashClick();
    const int pid = std::atoi(main->table().Cell(ColProcessId, 1).c_str());
    ASSERT_TRUE(Alive(pid));
    WriteFile("Data/2026-03-05.tab", kTaskLine + "  2" + kSleepLine.substr(3));

    clock_.AdvanceSecond();
    main->tmTimeDateTimer();
    ASSERT_EQ(main->currentTablePath(), StdPath("Data/2026-03-05.tab"));
    EXPECT_EQ(main->table().Cell(ColRunState, 2), "在播");
    EXPECT_EQ(main->table().Cell(ColProcessId, 2), std::to_string(pid));

    ASSERT_TRUE(main->close());
    EXPECT_EQ(main->table().Cell(ColRunState, 2), "停播");
    EXPECT_TRUE(QTest::qWaitFor([&] { return Ended(pid); }, 5000));
}

TEST_F(MainWindowTest, StatusBar_NoXDisplay_SaysWindowPlacementIsUnavailable) {
    platform::X11Windows unreachable(":9999");
    TFrmMain main(Place(), MainWindowServices{prompts_, processes_, unreachable});
    EXPECT_FALSE(main.lbWindowsUnavailable->isHidden());
    EXPECT_EQ(main.lbWindowsUnavailable->text(), "窗口定位不可用");

    const auto reachable = Start();
    EXPECT_EQ(reachable->lbWindowsUnavailable->isHidden(), windows_.Available());
}

TEST_F(MainWindowTest, Diagnostics_MyEnumWindow_ListsTheWindowsOfTheLastStart) {
    ASSERT_TRUE(windows_.Available()) << "no X display: the X test bed is not running";
    const QString ready = Path("ready");
    WriteFile(kDefaultTable, "  1^^" VARDO_XTESTCLIENT "^^--window diag --ready " +
                                 ready.toStdString() +
                                 "^^diag^^^^^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n");
    const auto main = Start();
    main->btnPlayFlash->click();
    const int pid = std::atoi(main->table().Cell(ColProcessId, 1).c_str());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(ready); }, 5000));

    // Only windows that have shown count, and the window manager shows it in its own time.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            main->MyEnumWindow->click();
            return !main->ListBox1->toPlainText().isEmpty();
        },
        5000));
    const QStringList handles = main->ListBox1->toPlainText().split('\n');
    ASSERT_EQ(handles.size(), 1);
    EXPECT_GT(handles.front().toULongLong(), 0u);
    EXPECT_TRUE(main->ListBox1->isHidden());

    main->MyGetWindow->click();
    EXPECT_TRUE(main->ListBox1->toPlainText().contains("=============Finded:" + handles.front()));
    kill(pid, SIGKILL);
}

TEST_F(MainWindowTest, ShowReminder_OpensAPopUpPerReminder) {
    const auto main = Start();
    main->ShowReminder({1, "nap", "00:00:05"});
    main->ShowReminder({2, "second", "00:01:00"});

    const QList<TFrmMM*> reminders = main->findChildren<TFrmMM*>();
    ASSERT_EQ(reminders.size(), 2);
    EXPECT_TRUE(reminders[0]->isVisible());
    EXPECT_EQ(reminders[0]->plMM()->text(), "  提示：任务1\n\r【nap】\n\r已经运行了：00:00:05");
}

TEST_F(MainWindowTest, SetupButton_ShowsTheSettingsDialogWithoutBlocking) {
    const auto main = Start();
    main->btnSetup->click();
    EXPECT_TRUE(main->FrmSetup->isVisible());
    EXPECT_FALSE(main->FrmSetup->isModal());
}

// Presses and drags the pointer by (30, 25) from at on widget.
void DragBy(QWidget* widget, QPoint at) {
    const QPoint to = at + QPoint(30, 25);
    QTest::mousePress(widget, Qt::LeftButton, {}, at);
    QMouseEvent move(QEvent::MouseMove, to, widget->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
}

TEST_F(MainWindowTest, Dragging_OnlyTheWindowsOwnSurfaceMovesIt_ChildrenKeepPressesAndCursors) {
    const auto main = Start();
    main->show();
    const QPoint start = main->pos();
    EXPECT_EQ(main->cursor().shape(), Qt::SizeAllCursor);
    for (QWidget* child : std::initializer_list<QWidget*>{
             main->MyPanel1, main->MyPanel6, main->Label3, main->chkSize, main->rbMax,
             main->MyPanel5, main->sgJM->viewport(), main->StatusBar2, main->btnEdit}) {
        EXPECT_EQ(child->cursor().shape(), Qt::ArrowCursor) << child->objectName().toStdString();
    }
    EXPECT_EQ(main->edName->cursor().shape(), Qt::IBeamCursor);
    EXPECT_EQ(main->ListBox2->viewport()->cursor().shape(), Qt::IBeamCursor);

    DragBy(main->MyPanel6, QPoint(700, 100));
    EXPECT_EQ(main->pos(), start) << "a press on the disabled editor panel";
    DragBy(main->MyPanel1, QPoint(100, 20));
    EXPECT_EQ(main->pos(), start) << "a press on the top panel's background";
    DragBy(main->Label3, QPoint(5, 5));
    EXPECT_EQ(main->pos(), start) << "a press on a label";

    // Where no child covers it, the window's own surface shows.
    main->MyPanel1->hide();
    DragBy(main.get(), QPoint(100, 20));
    EXPECT_EQ(main->pos(), start + QPoint(30, 25));
}

// The fixture's window layer connects to $DISPLAY, which the test command points at the test bed.
TEST_F(MainWindowTest, MonitorList_TestBedWithTwoMonitors_OffersOneAndTwo) {
    ASSERT_TRUE(windows_.Available()) << "no X display: the X test bed is not running";
    const auto main = Start();

    ASSERT_EQ(main->cbMonitor->count(), static_cast<int>(windows_.Monitors().size()));
    EXPECT_EQ(main->cbMonitor->itemText(0), "1");
    EXPECT_EQ(main->cbMonitor->itemText(main->cbMonitor->count() - 1),
              QString::number(main->cbMonitor->count()));
}

TEST_F(MainWindowTest, Layout_HasTheFourAreasAndTheWindowSize) {
    const auto main = Start();
    EXPECT_EQ(main->size(), QSize(792, 566));
    EXPECT_EQ(main->MyPanel1->geometry(), QRect(0, 0, 792, 42));
    EXPECT_EQ(main->MyPanel6->geometry(), QRect(0, 42, 792, 145));
    EXPECT_EQ(main->MyPanel4->geometry(), QRect(0, 187, 792, 379));
    EXPECT_EQ(main->windowTitle(), "Vardo");
    EXPECT_EQ(main->btnSetup->toolTip(), "系统参数设置");
    EXPECT_EQ(main->btnExit->toolTip(), "退出程序");
    EXPECT_EQ(main->btnPlayFlash->toolTip(), "人工启动指定程序");
    EXPECT_EQ(main->btnStopFlash->toolTip(), "手动结束指定程序");
    EXPECT_FALSE(main->MyPanel6->isEnabled());
    EXPECT_GE(main->cbMonitor->count(), 1);
}

}  // namespace
}  // namespace vardo::test
