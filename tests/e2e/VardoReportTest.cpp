// vardo-report on a day the real vardo executable ran on the test X server: a task ended at its
// end time, one that exited by itself, and one whose start came after the program had closed.
#include <QImage>

#include <chrono>
#include <ctime>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "AsRun.h"
#include "ReportTimeline.h"
#include "RunCommand.h"
#include "TextCodec.h"
#include "VardoProgramFolder.h"

namespace vardo::test {
namespace {

std::string TableLine(int number, const std::string& parameters, const std::string& description,
                      const std::string& start, const std::string& end) {
    return "  " + std::to_string(number) + "^^" + VARDO_XTESTCLIENT + "^^" + parameters + "^^" +
           description + "^^" + start + "^^" + end + "^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n";
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t to; (to = text.find(separator, from)) != std::string::npos;
         from = to + separator.size()) {
        parts.push_back(text.substr(from, to - from));
    }
    if (from < text.size()) parts.push_back(text.substr(from));
    return parts;
}

using VardoReport = VardoProgramFolder;

TEST_F(VardoReport, RealDay_ReportsEndedExitedAndPendingRows) {
    constexpr int kCloseAfter = 6;
    std::string startText;
    std::string endText;
    const std::time_t start = StartVardoAhead([&](std::time_t first) {
        startText = LocalTimeText(first, 0, "%02d:%02d:%02d");
        endText = LocalTimeText(first, 3, "%02d:%02d:%02d");
        const std::string table =
            TableLine(1, "--window \"E2E Report\"", "Ended", startText, endText) +
            TableLine(2, "--lifetime 1000", "Exited", startText,
                      LocalTimeText(first, 60, "%02d:%02d:%02d")) +
            TableLine(3, "", "Later", LocalTimeText(first, 600, "%02d:%02d:%02d"), "");
        WriteBytes("Data/任务计划表.tab", Utf8ToGb18030(table));
        WriteBytes("VARDO.INI", "[START]\r\nchkSaveHis=YES\r\nchkAutoShutDown=YES\r\nTimePicker=" +
                                    LocalTimeText(first, kCloseAfter, "%d:%02d:%02d") + "\r\n");
    });
    ASSERT_NE(start, 0);
    ASSERT_TRUE(WaitForExit(std::chrono::seconds(60)).has_value()) << "vardo did not close itself";

    char day[16];
    std::tm startDay{};
    localtime_r(&start, &startDay);
    std::strftime(day, sizeof day, "%Y-%m-%d", &startDay);
    const CommandResult result = RunCommand(
        VARDO_REPORT, {folder_.string(), "--from", day, "--csv", (folder_ / "report.csv").string(),
                       "--png", (folder_ / "report.png").string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");

    const std::vector<std::string> lines = Split(ReadBytes("report.csv"), "\r\n");
    ASSERT_EQ(lines.size(), 4u) << ReadBytes("report.csv");
    const std::string app = VARDO_XTESTCLIENT;
    const auto fields = [&](int row) { return Split(lines[row] + ",", ","); };
    // Starts and ends are logged in the second they are due; a loaded machine may log them a
    // second or two later.
    const auto number = [](const std::string& field) { return std::stoi(field); };
    const auto planned = [](const std::vector<std::string>& row) {
        return std::vector<std::string>(row.begin(), row.begin() + 6);
    };

    const std::vector<std::string> ended = fields(1);
    ASSERT_EQ(ended.size(), 12u) << lines[1];
    EXPECT_EQ(planned(ended),
              (std::vector<std::string>{day, "1", app, "Ended", startText, endText}));
    EXPECT_EQ(ended[8], "ended");
    EXPECT_LE(number(ended[10]), 2);
    EXPECT_GE(number(ended[9]), 1);
    EXPECT_LE(number(ended[9]), 5);

    const std::vector<std::string> exited = fields(2);
    ASSERT_EQ(exited.size(), 12u) << lines[2];
    EXPECT_EQ(exited[3], "Exited");
    EXPECT_EQ(exited[8], "exited");
    EXPECT_LE(number(exited[10]), 2);
    EXPECT_LE(number(exited[9]), kCloseAfter);

    // Today's history ends before row 3's start: it is still to come.
    EXPECT_EQ(lines[3].substr(lines[3].find(",3,")),
              ",3," + app + ",Later," + LocalTimeText(start, 600, "%02d:%02d:%02d") +
                  ",,,,none,0,,pending");

    // The picture: row 1 ran, row 3's pending start is marked at its planned start.
    const QImage picture(QString::fromStdString((folder_ / "report.png").string()));
    const std::chrono::year_month_day date{std::chrono::year{startDay.tm_year + 1900},
                                           std::chrono::month(startDay.tm_mon + 1),
                                           std::chrono::day(startDay.tm_mday)};
    const std::vector<AsRunDay> days = {AsRunFolder(folder_.string() + "/").Day(date)};
    const std::optional<TimelineLayout> layout = TimelineLayout::For(days);
    ASSERT_TRUE(layout);
    ASSERT_EQ(picture.size(), QSize(TimelineLayout::kWidth, layout->Height()));
    const auto actualHalf = [&](std::size_t lane, int seconds) {
        return picture.pixelColor(layout->X(seconds),
                                  layout->LaneTop(0, lane) + layout->LaneHeight() * 3 / 4);
    };
    EXPECT_EQ(actualHalf(0, *days[0].entries[0].actualStart), kRanColour);
    EXPECT_EQ(actualHalf(2, *days[0].entries[2].plannedStart), kPendingColour);
}

}  // namespace
}  // namespace vardo::test
