// A station among many: the metrics file for node exporter ([START] MetricsDir) and timetables
// that arrive in Data/ ([START] WatchData), on real files, a real folder watch and a manual clock.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSysInfo>
#include <QTest>
#include <csignal>
#include <filesystem>

#include "MainWindowFixture.h"
#include "StationMetrics.h"
#include "TaskTable.h"

namespace vardo::test {
namespace {

using namespace std::chrono_literals;

const std::string kTrueLine =
    "  1^^/bin/true^^^^晨间节目^^09:00:00^^^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n";
const std::string kEchoLine =
    "  1^^/bin/echo^^^^午间节目^^12:00:00^^^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n";

class FleetTest : public MainWindowFixture {
  protected:
    // Writes the file under a temporary name and renames it into place, as rsync and the like do.
    void Drop(const QString& relative, const std::string& utf8) {
        WriteFile("Data/.incoming.tmp", utf8);
        std::filesystem::rename(StdPath("Data/.incoming.tmp"), StdPath(relative));
    }

    // Writes bytes into the file itself, as an editor or a copy does.
    void WriteInPlace(const QString& relative, const std::string& utf8) {
        WriteFile(relative, utf8);
        QCoreApplication::processEvents();  // the folder watch's notice
    }

    void Tick(TFrmMain& main, std::chrono::milliseconds later) {
        clock_.Advance(later);
        main.tmTimeDateTimer();
    }

    // The metrics file, UTF-8 as written.
    std::string ReadMetrics() const {
        QFile file(Path("metrics/vardo.prom"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
    }

    // Writes the whole echo table into the default timetable and holds it open for 5 s, as a
    // stalled copy does; the table must stay until 2 s after the close.
    void WriteStallCloseAndExpectTakenAfterTheClose(TFrmMain& main) {
        QFile writer(Path(kDefaultTable));
        ASSERT_TRUE(writer.open(QIODevice::WriteOnly | QIODevice::Truncate));
        writer.write(QByteArray::fromStdString(kEchoLine));
        ASSERT_TRUE(writer.flush());
        for (int second = 0; second < 5; ++second) Tick(main, 1s);
        EXPECT_EQ(main.table().Cell(ColApplication, 1), "/bin/true");

        writer.close();
        Tick(main, 1s);
        Tick(main, 1s);
        EXPECT_EQ(main.table().Cell(ColApplication, 1), "/bin/true");
        Tick(main, 1s);
        EXPECT_EQ(main.table().Cell(ColApplication, 1), "/bin/echo");
    }

    bool WaitFor(const std::function<bool()>& condition) {
        return QTest::qWaitFor(condition, 10'000);
    }
};

TEST_F(FleetTest, WatchData_FileRenamedIntoData_IsLoadedAtOnceAndLogged) {
    WriteSettings("WatchData=YES\r\n");
    WriteFile(kDefaultTable, kTrueLine);
    const auto main = Start();

    Drop("Data/2026-03-05.tab", kEchoLine);
    ASSERT_TRUE(WaitFor([&] { return main->table().Cell(ColApplication, 1) == "/bin/echo"; }));
    EXPECT_EQ(main->currentTablePath(), StdPath("Data/2026-03-05.tab"));
    EXPECT_EQ(main->ListBox2->toPlainText().toStdString(),
              "  08:00:00 装入任务计划表: 【" + StdPath("Data/2026-03-05.tab") + " 】");

    Drop(kDefaultTable, kTrueLine);  // not the day's choice: nothing happens
    Tick(*main, 3s);
    EXPECT_EQ(main->currentTablePath(), StdPath("Data/2026-03-05.tab"));
}

// A file written in place is taken once it has stayed unchanged for 2 s; a half-written one that
// stops is refused, with a status and a history line, and the running table stays.
TEST_F(FleetTest, WatchData_FileWrittenInPlace_NeverLoadsHalfAFile) {
    WriteSettings("WatchData=YES\r\n");
    WriteFile(kDefaultTable, kTrueLine);
    const auto main = Start();

    WriteInPlace(kDefaultTable, kEchoLine.substr(0, 30));
    Tick(*main, 0ms);
    Tick(*main, 1999ms);
    EXPECT_EQ(main->table().Cell(ColApplication, 1), "/bin/true");
    Tick(*main, 1ms);
    EXPECT_EQ(main->table().Cell(ColApplication, 1), "/bin/true");
    const std::string refused =
        "  08:00:02 任务计划表未装入: 【" + StdPath(kDefaultTable) + " 】  最后一行不完整";
    EXPECT_EQ(main->MyPanel5->Caption().toStdString(), refused);
    EXPECT_EQ(main->ListBox2->toPlainText().toStdString(), refused);
    Tick(*main, 5s);
    EXPECT_EQ(main->ListBox2->toPlainText().toStdString(), refused);  // refused once

    WriteInPlace(kDefaultTable, kEchoLine);
    Tick(*main, 1s);
    EXPECT_EQ(main->table().Cell(ColApplication, 1), "/bin/true");
    Tick(*main, 2s);
    EXPECT_EQ(main->table().Cell(ColApplication, 1), "/bin/echo");
}

// A copy that stalls at a line end leaves a whole-looking file that does not change: it is taken
// only once its writer closes it, and 2 s later.
TEST_F(FleetTest, WatchData_WriterStallsWithTheFileOpen_WaitsForItsClose) {
    WriteSettings("WatchData=YES\r\n");
    WriteFile(kDefaultTable, kTrueLine);
    const auto main = Start();

    WriteStallCloseAndExpectTakenAfterTheClose(*main);
}

// The watch follows the Data folder's path: one put in place of the old (a deploy that swaps
// folders) is watched, so its in-place writes wait for their close too.
TEST_F(FleetTest, WatchData_DataFolderReplaced_IsWatchedAgain) {
    WriteSettings("WatchData=YES\r\n");
    WriteFile(kDefaultTable, kTrueLine);
    const auto main = Start();

    std::filesystem::rename(StdPath("Data"), StdPath("Data.old"));
    QDir().mkpath(Path("Data"));
    Tick(*main, 1s);
    WriteStallCloseAndExpectTakenAfterTheClose(*main);
}

TEST_F(FleetTest, WatchData_DropDuringEditState_WaitsUntilTheEditsAreSaved) {
    WriteSettings("WatchData=YES\r\n");
    WriteFile(kDefaultTable, kTrueLine);
    const auto main = Start();
    main->btnEditClick();
    main->edName->setText("edited");

    Drop("Data/2026-03-05.tab", kEchoLine);
    QTest::qWait(0);
    Tick(*main, 1s);
    Tick(*main, 2s);
    EXPECT_EQ(main->currentTablePath(), StdPath(kDefaultTable));
    EXPECT_EQ(main->table().Cell(ColDescription, 1), "edited");

    main->btnEditClick();
    EXPECT_NE(ReadFile(kDefaultTable).find("^^edited^^"), std::string::npos);
    Tick(*main, 1s);
    EXPECT_EQ(main->currentTablePath(), StdPath("Data/2026-03-05.tab"));
    EXPECT_EQ(main->table().Cell(ColApplication, 1), "/bin/echo");
}

bool Alive(int pid) {
    return pid > 0 && kill(pid, 0) == 0;
}

// The new table has no row for the running task: it keeps running and is ended at its old row's
// end time.
TEST_F(FleetTest, WatchData_DropWhileATaskRuns_TaskRunsToItsEndTime) {
    WriteSettings("WatchData=YES\r\n");
    WriteFile(kDefaultTable,
              "  1^^/bin/sleep^^30^^nap^^08:00:00^^08:00:05^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n");
    const auto main = Start();
    main->tmScanOrloTimer();
    ASSERT_EQ(main->table().Cell(ColRunState, 1), "在播");
    const int pid = std::stoi(main->table().Cell(ColProcessId, 1));

    Drop(kDefaultTable, kEchoLine);
    ASSERT_TRUE(WaitFor([&] { return main->table().Cell(ColApplication, 1) == "/bin/echo"; }));
    for (int second = 1; second < 5; ++second) {
        clock_.AdvanceSecond();
        main->tmScanOrloTimer();
        EXPECT_TRUE(Alive(pid)) << "08:00:0" << second;
    }
    clock_.AdvanceSecond();
    main->tmScanOrloTimer();
    EXPECT_TRUE(
        main->ListBox2->toPlainText().endsWith("  08:00:05 结束任务: 【/bin/sleep 】  nap"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Alive(pid); }, 5000));
}

TEST_F(FleetTest, WatchDataOff_DropIsLeftForTheDailyLoad) {
    WriteFile(kDefaultTable, kTrueLine);
    const auto main = Start();
    Drop("Data/2026-03-05.tab", kEchoLine);
    QTest::qWait(0);
    Tick(*main, 3s);
    EXPECT_EQ(main->currentTablePath(), StdPath(kDefaultTable));
}

// What promtool says of the file; fails naming the tool when it is missing.
std::string PromtoolCheckMetrics(const QString& file) {
    QProcess promtool;
    promtool.setStandardInputFile(file);
    promtool.start("promtool", {"check", "metrics"});
    if (!promtool.waitForStarted(10'000))
        return "promtool cannot be started (Debian package prometheus): " +
               promtool.errorString().toStdString();
    promtool.waitForFinished(30'000);
    const std::string output =
        (promtool.readAllStandardOutput() + promtool.readAllStandardError()).toStdString();
    return promtool.exitCode() == 0 && output.empty() ? "" : output;
}

TEST_F(FleetTest, MetricsDir_WritesAValidFileAtStartTickAndExit) {
    WriteSettings("MetricsDir=metrics\r\nchkSaveHis=YES\r\n");
    QDir().mkpath(Path("metrics"));
    WriteFile(kDefaultTable,
              "  1^^/bin/sleep^^30^^\"quoted\" \\ nap^^^^^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n");
    QDir().mkpath(Path("History/20260305.txt"));  // a folder where the history file should be
    const auto main = Start();
    const QString prom = Path("metrics/vardo.prom");
    const std::string station = QSysInfo::machineHostName().toStdString();
    EXPECT_NE(ReadMetrics().find("vardo_info{version=\"" VARDO_VERSION "\",station=\"" + station +
                                 "\",timetable=\"" + StdPath(kDefaultTable) + "\"} 1\n"),
              std::string::npos);

    // Until the first schedule tick, the start counts as the last one.
    EXPECT_NE(
        ReadMetrics().find("\nvardo_last_tick_timestamp_seconds " +
                           std::to_string(UnixSecondsOf(
                               std::chrono::floor<std::chrono::seconds>(At(2026, 3, 5, 8, 0, 0)))) +
                           "\n"),
        std::string::npos);

    main->btnPlayFlashClick();
    main->btnEditClick();
    Tick(*main, 1s);
    const std::string running = ReadMetrics();
    EXPECT_NE(running.find("\nvardo_edit_state 1\n"), std::string::npos);
    EXPECT_NE(running.find("\nvardo_task_starts_total 1\n"), std::string::npos);
    EXPECT_NE(running.find("\nvardo_history_write_failures_total 1\n"), std::string::npos);
    EXPECT_NE(running.find("vardo_task_running{row=\"1\",application=\"/bin/sleep\","
                           "description=\"\\\"quoted\\\" \\\\ nap\"} 1\n"),
              std::string::npos);
    EXPECT_EQ(PromtoolCheckMetrics(prom), "");

    QFile::remove(Path(kDefaultTable));
    QDir().mkpath(Path(kDefaultTable));  // a folder where the timetable should be written
    main->btnEditClick();
    main->show();
    ASSERT_TRUE(main->close());
    const std::string closed = ReadMetrics();
    EXPECT_NE(closed.find("\nvardo_timetable_save_failures_total 1\n"), std::string::npos);
    EXPECT_NE(closed.find("\nvardo_task_ends_total{how=\"exit\"} 1\n"), std::string::npos);
    EXPECT_NE(closed.find("\nvardo_tasks_running 0\n"), std::string::npos);
    EXPECT_EQ(PromtoolCheckMetrics(prom), "");
}

}  // namespace
}  // namespace vardo::test
