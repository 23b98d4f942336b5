// vardo-report on crafted program folders: the CSV byte for byte, the timeline picture by its
// pixels, and the command line's errors and exit status.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "AsRun.h"
#include "ReportTimeline.h"
#include "RunCommand.h"
#include "TempFolder.h"
#include "TextCodec.h"
#include "TimeText.h"

namespace vardo {
namespace {

using namespace std::chrono_literals;

// One timetable line: the sixteen cells joined by "^^", run-time cells empty.
std::string TableLine(int number, const std::string& application, const std::string& description,
                      const std::string& start, const std::string& end) {
    return "  " + std::to_string(number) + "^^" + application + "^^^^" + description + "^^" +
           start + "^^" + end + "^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n";
}

std::string HistoryLine(const std::string& time, const std::string& event,
                        const std::string& application, const std::string& description) {
    return "  " + time + event + application + " 】  " + description + "\r\n";
}

constexpr const char* kStart = " 启动任务: 【";
constexpr const char* kEnd = " 结束任务: 【";
constexpr const char* kExit = " 任务结束: 【";

// Friday 2024-03-15 runs the weekday file, Saturday the default timetable. Friday: a task on
// time, one late that exited early, one never started, a manual start of a planned task, a start
// no row names and never ended, a damaged line, and a task ended after midnight whose end (and
// Saturday's first start) the program still wrote into Friday's file.
class ReportTool : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(folder_.File("Data"));
        std::filesystem::create_directories(folder_.File("History"));
        test::WriteBytes(
            folder_.File("Data/星期五.tab"),
            Utf8ToGb18030(
                TableLine(1, "/opt/show/player", "早间新闻", "08:00:00", "09:00:00") +
                TableLine(2, "/opt/show/player", "Weather, regional", "10:00:00", "11:00:00") +
                TableLine(3, "/opt/show/clock", "Clock", "12:00:00", "13:00:00") +
                TableLine(4, "/opt/show/late", "Late show", "23:59:50", "00:00:20")));
        // The default timetable as an operator's editor saved it, in UTF-8.
        test::WriteBytes(folder_.File("Data/任务计划表.tab"),
                         TableLine(1, "/opt/show/loop", "Night loop", "00:00:10", "06:00:00") +
                             TableLine(2, "/opt/show/player", "早间新闻", "08:00:00", "09:00:00"));
        test::WriteBytes(
            folder_.File("History/20240315.txt"),
            Utf8ToGb18030(HistoryLine("08:00:00", kStart, "/opt/show/player", "早间新闻") +
                          HistoryLine("09:00:00", kEnd, "/opt/show/player", "早间新闻") +
                          HistoryLine("10:00:45", kStart, "/opt/show/player", "Weather, regional") +
                          HistoryLine("10:20:00", kExit, "/opt/show/player", "Weather, regional") +
                          "  12:0x:00 启动任务: 【/opt/show/clock 】  Clock\r\n" +
                          HistoryLine("14:30:00", kStart, "/opt/show/player", "早间新闻") +
                          HistoryLine("14:40:00", kEnd, "/opt/show/player", "早间新闻") +
                          HistoryLine("15:00:00", kStart, "/usr/bin/xterm", "Console") +
                          HistoryLine("23:59:50", kStart, "/opt/show/late", "Late show") +
                          HistoryLine("00:00:10", kStart, "/opt/show/loop", "Night loop") +
                          HistoryLine("00:00:20", kEnd, "/opt/show/late", "Late show")));
        test::WriteBytes(
            folder_.File("History/20240316.txt"),
            Utf8ToGb18030(HistoryLine("08:00:02", kStart, "/opt/show/player", "早间新闻") +
                          HistoryLine("08:30:00", kExit, "/opt/show/player", "早间新闻")));
    }

    test::CommandResult Report(std::vector<std::string> args) {
        args.insert(args.begin(), folder_.path());
        return test::RunCommand(VARDO_REPORT, args);
    }

    test::TempFolder folder_;
};

TEST_F(ReportTool, Csv_MatchesHistoryToTheDaysTimetables) {
    const test::CommandResult result =
        Report({"--from", "2024-03-15", "--to", "2024-03-16", "--csv", folder_.File("r.csv")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(test::ReadBytes(folder_.File("r.csv")),
              "\xEF\xBB\xBF"
              "date,row,application,description,planned_start,planned_end,actual_start,"
              "actual_end,end_kind,run_seconds,start_delay_seconds,status\r\n"
              "2024-03-15,1,/opt/show/player,早间新闻,08:00:00,09:00:00,08:00:00,09:00:00,"
              "ended,3600,0,ran\r\n"
              "2024-03-15,2,/opt/show/player,\"Weather, regional\",10:00:00,11:00:00,10:00:45,"
              "10:20:00,exited,1155,45,late\r\n"
              "2024-03-15,3,/opt/show/clock,Clock,12:00:00,13:00:00,,,none,0,,missed\r\n"
              "2024-03-15,4,/opt/show/late,Late show,23:59:50,00:00:20,23:59:50,24:00:20,"
              "ended,30,0,ran\r\n"
              "2024-03-15,,/opt/show/player,早间新闻,,,14:30:00,14:40:00,ended,600,,unplanned\r\n"
              "2024-03-15,,/usr/bin/xterm,Console,,,15:00:00,,none,32390,,unplanned\r\n"
              "2024-03-16,1,/opt/show/loop,Night loop,00:00:10,06:00:00,00:00:10,,none,30590,0,"
              "ran\r\n"
              "2024-03-16,2,/opt/show/player,早间新闻,08:00:00,09:00:00,08:00:02,08:30:00,"
              "exited,1798,2,ran\r\n");
    EXPECT_EQ(result.err, "vardo-report: " + folder_.File("History/20240315.txt") +
                              ": skipped 1 line that is not a history line\n");
}

TEST_F(ReportTool, Csv_GoesToStandardOutputAndMissingOrUnreadableHistoryIsNamed) {
    // Monday's history file cannot be read: it is a folder.
    std::filesystem::create_directory(folder_.File("History/20240318.txt"));
    const test::CommandResult result = Report({"--from=2024-03-17", "--to=2024-03-18"});
    EXPECT_EQ(result.status, 0) << result.err;
    // Sunday has no weekday file: the default timetable, nothing started.
    EXPECT_NE(result.out.find("\r\n2024-03-17,2,/opt/show/player,早间新闻,08:00:00,09:00:00,,,none,"
                              "0,,missed\r\n"),
              std::string::npos)
        << result.out;
    EXPECT_EQ(result.err, "vardo-report: 2024-03-17: no history file\nvardo-report: " +
                              folder_.File("History/20240318.txt") + ": Is a directory\n");
}

TEST_F(ReportTool, Picture_MarksPlannedRunLateMissedAndUnplanned) {
    const test::CommandResult result =
        Report({"--from", "2024-03-15", "--to", "2024-03-16", "--png", folder_.File("r.png")});
    ASSERT_EQ(result.status, 0) << result.err;
    const QImage image(QString::fromStdString(folder_.File("r.png")));
    ASSERT_FALSE(image.isNull());

    AsRunFolder asRun(folder_.Slash());
    const std::vector<AsRunDay> days = {asRun.Day(2024y / 3 / 15), asRun.Day(2024y / 3 / 16)};
    const std::optional<TimelineLayout> layout = TimelineLayout::For(days);
    ASSERT_TRUE(layout);
    ASSERT_EQ(image.size(), QSize(TimelineLayout::kWidth, layout->Height()));
    const auto at = [&](std::size_t day, std::size_t lane, bool actual, int seconds) {
        const int top = layout->LaneTop(day, lane);
        const int y = actual ? top + layout->LaneHeight() * 3 / 4 : top + layout->LaneHeight() / 4;
        return image.pixelColor(layout->X(seconds), y);
    };
    constexpr int h = 3600;
    // Friday, row 1 on time: planned above, ran below, from 08:00 to 09:00.
    EXPECT_EQ(at(0, 0, false, 8 * h + 1800), kPlannedColour);
    EXPECT_EQ(at(0, 0, true, 8 * h + 1800), kRanColour);
    EXPECT_NE(at(0, 0, true, 9 * h + 600), kRanColour);
    // Row 2 late and ended early: the run and the delay before it in the late colour.
    EXPECT_EQ(at(0, 1, true, 10 * h + 600), kLateColour);
    EXPECT_EQ(at(0, 1, false, 10 * h + 1800), kPlannedColour);
    EXPECT_NE(at(0, 1, true, 10 * h + 1800), kLateColour);
    // Row 3 never started: the missed start is marked at its planned start, and nothing ran.
    EXPECT_EQ(at(0, 2, true, 12 * h), kMissedColour);
    EXPECT_EQ(at(0, 2, false, 12 * h + 1800), kPlannedColour);
    EXPECT_NE(at(0, 2, true, 12 * h + 1800), kMissedColour);
    // The manual start and the unknown task, in their own lanes below the rows.
    EXPECT_EQ(at(0, 4, true, 14 * h + 35 * 60), kUnplannedColour);
    EXPECT_EQ(at(0, 5, true, 20 * h), kUnplannedColour);
    // Saturday: the start logged in Friday's file runs in Saturday's first lane.
    EXPECT_EQ(at(1, 0, true, 3 * h), kRanColour);
}

// Today's rows whose start the history has not reached are pending, not missed, and so is every
// row of a later day; a row the history went past without a start is missed.
TEST_F(ReportTool, Today_RowsAfterTheLastHistoryLineArePending) {
    const std::chrono::year_month_day today = Today();
    const auto tomorrow =
        std::chrono::year_month_day{std::chrono::sys_days{today} + std::chrono::days{1}};
    const std::string date = DateText(true, today);
    const std::string rows = TableLine(1, "/opt/show/player", "早间新闻", "00:00:01", "") +
                             TableLine(2, "/opt/show/clock", "Clock", "00:00:02", "") +
                             TableLine(3, "/opt/show/late", "Late show", "23:59:59", "");
    test::WriteBytes(folder_.File("Data/" + date + ".tab"), rows);
    test::WriteBytes(folder_.File("Data/" + DateText(true, tomorrow) + ".tab"), rows);
    test::WriteBytes(folder_.File("History/" + DateText(false, today) + ".txt"),
                     HistoryLine("00:00:01", kStart, "/opt/show/player", "早间新闻") +
                         HistoryLine("00:00:03", kEnd, "/opt/show/player", "早间新闻"));

    const test::CommandResult result =
        Report({"--from", date, "--to", DateText(true, tomorrow), "--csv", folder_.File("r.csv"),
                "--png", folder_.File("r.png")});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string csv = test::ReadBytes(folder_.File("r.csv"));
    EXPECT_NE(csv.find(date + ",2,/opt/show/clock,Clock,00:00:02,,,,none,0,,missed\r\n"),
              std::string::npos)
        << csv;
    EXPECT_NE(csv.find(date + ",3,/opt/show/late,Late show,23:59:59,,,,none,0,,pending\r\n"),
              std::string::npos)
        << csv;
    EXPECT_NE(
        csv.find(DateText(true, tomorrow) + ",1,/opt/show/player,早间新闻,00:00:01,,,,none,0,,"
                                            "pending\r\n"),
        std::string::npos)
        << csv;

    const QImage image(QString::fromStdString(folder_.File("r.png")));
    ASSERT_FALSE(image.isNull());
    AsRunFolder asRun(folder_.Slash());
    const std::vector<AsRunDay> days = {asRun.Day(today), asRun.Day(tomorrow)};
    const std::optional<TimelineLayout> layout = TimelineLayout::For(days);
    ASSERT_TRUE(layout);
    const auto mark = [&](std::size_t day, std::size_t lane, int seconds) {
        const int y = layout->LaneTop(day, lane) + layout->LaneHeight() * 3 / 4;
        return image.pixelColor(layout->X(seconds), y);
    };
    EXPECT_EQ(mark(0, 1, 2), kMissedColour);
    EXPECT_EQ(mark(0, 2, 86399), kPendingColour);
    EXPECT_EQ(mark(1, 0, 1), kPendingColour);
}

// Texts that spreadsheet programs would run as formulas are written as plain text.
TEST_F(ReportTool, Csv_FormulaLikeTextsGetALeadingApostrophe) {
    test::WriteBytes(folder_.File("Data/2024-03-20.tab"),
                     TableLine(1, "=cmd", "+1 show", "08:00:00", "") +
                         TableLine(2, "/opt/a", "-2", "09:00:00", "") +
                         TableLine(3, "/opt/b", "@SUM(A1)", "10:00:00", "") +
                         TableLine(4, "/opt/c", "a=b", "11:00:00", ""));
    const test::CommandResult result = Report({"--from", "2024-03-20"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("\r\n2024-03-20,1,'=cmd,'+1 show,08:00:00,"), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("\r\n2024-03-20,2,/opt/a,'-2,09:00:00,"), std::string::npos);
    EXPECT_NE(result.out.find("\r\n2024-03-20,3,/opt/b,'@SUM(A1),10:00:00,"), std::string::npos);
    EXPECT_NE(result.out.find("\r\n2024-03-20,4,/opt/c,a=b,11:00:00,"), std::string::npos);
}

// The program file's folder (build/app, /usr/bin) is the likely mistake: refused, naming the
// folder that is meant.
TEST_F(ReportTool, CommandLine_FolderWithNeitherDataNorHistoryIsRefused) {
    std::filesystem::create_directory(folder_.File("bin"));
    const test::CommandResult refused =
        test::RunCommand(VARDO_REPORT, {folder_.File("bin"), "--from", "2024-03-15"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_TRUE(refused.out.empty());
    EXPECT_EQ(refused.err, "vardo-report: " + folder_.File("bin") +
                               ": not a program folder (it holds neither Data/ nor History/); the "
                               "installed program's is ~/.local/share/vardo (see --help)\n");

    std::filesystem::create_directory(folder_.File("bin/History"));
    EXPECT_EQ(test::RunCommand(VARDO_REPORT, {folder_.File("bin"), "--from", "2024-03-15"}).status,
              0);
    const test::CommandResult help = test::RunCommand(VARDO_REPORT, {"--help"});
    EXPECT_NE(help.out.find("~/.local/share/vardo"), std::string::npos);
}

TEST_F(ReportTool, CommandLine_ErrorsGiveOneLineAndTheirStatus) {
    const test::CommandResult missing =
        test::RunCommand(VARDO_REPORT, {folder_.File("nowhere"), "--from", "2024-03-15"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "vardo-report: " + folder_.File("nowhere") +
                               ": no such program folder (see --help)\n");

    for (const char* date : {"2024-02-30", "2024-3-15", "15.03.2024", ""}) {
        const test::CommandResult bad = Report({"--from", date});
        EXPECT_EQ(bad.status, 2) << date;
        EXPECT_EQ(std::count(bad.err.begin(), bad.err.end(), '\n'), 1) << bad.err;
    }
    EXPECT_EQ(Report({"--from", "2024-03-16", "--to", "2024-03-15"}).status, 2);
    EXPECT_EQ(Report({"--from", "2024-03-15", "--to", "2204-03-15"}).status, 2);
    EXPECT_EQ(Report({"--from"}).status, 2);
    EXPECT_EQ(Report({"--from", "2024-03-15", "--colour"}).status, 2);

    const test::CommandResult unwritable =
        Report({"--from", "2024-03-15", "--csv", folder_.File("no/such/folder.csv")});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("no/such/folder.csv"), std::string::npos) << unwritable.err;

    const test::CommandResult help = test::RunCommand(VARDO_REPORT, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: vardo-report PROGRAM_FOLDER --from")) << help.out;
    EXPECT_TRUE(help.err.empty());
}

}  // namespace
}  // namespace vardo
