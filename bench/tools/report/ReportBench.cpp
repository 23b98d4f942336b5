// The as-run report of 30 days of a 200-row timetable: reading the history files and the
// timetables with matching and the CSV text, and the timeline picture with its PNG encoding.
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "AsRun.h"
#include "ReportCsv.h"
#include "ReportTimeline.h"
#include "TempFolder.h"
#include "TextCodec.h"
#include "TimeText.h"

namespace vardo {
namespace {

using namespace std::chrono_literals;

constexpr int kDays = 30;
constexpr int kRows = 200;
constexpr std::chrono::year_month_day kFirstDay = 2024y / 3 / 1;

// A program folder whose default timetable has kRows tasks of four minutes, one every five
// minutes from 06:00, and a history file per day in which every tenth task never started and
// the others started a second late and were ended at their end time.
class ReportFolder {
  public:
    ReportFolder() {
        std::filesystem::create_directories(folder_.File("Data"));
        std::filesystem::create_directories(folder_.File("History"));
        std::string table;
        std::string history;
        for (int row = 1; row <= kRows; ++row) {
            const int start = 6 * 3600 + row * 300;
            const std::string application = "/opt/show/player" + std::to_string(row % 7);
            const std::string description = "节目 " + std::to_string(row);
            table += "  " + std::to_string(row) + "^^" + application + "^^^^" + description + "^^" +
                     SecondsToTimeText(start) + "^^" + SecondsToTimeText(start + 240) +
                     "^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n";
            if (row % 10 == 0) continue;
            history += "  " + SecondsToTimeText(start + 1) + " 启动任务: 【" + application +
                       " 】  " + description + "\r\n";
            history += "  " + SecondsToTimeText(start + 240) + " 结束任务: 【" + application +
                       " 】  " + description + "\r\n";
        }
        test::WriteBytes(folder_.File("Data/任务计划表.tab"), Utf8ToGb18030(table));
        for (int day = 0; day < kDays; ++day) {
            const std::chrono::year_month_day date{std::chrono::sys_days{kFirstDay} +
                                                   std::chrono::days{day}};
            test::WriteBytes(folder_.File("History/" + DateText(false, date) + ".txt"),
                             Utf8ToGb18030(history));
        }
    }

    std::vector<AsRunDay> ReadDays() const {
        AsRunFolder folder(folder_.Slash());
        std::vector<AsRunDay> days;
        for (int day = 0; day < kDays; ++day) {
            days.push_back(folder.Day(std::chrono::year_month_day{std::chrono::sys_days{kFirstDay} +
                                                                  std::chrono::days{day}}));
        }
        return days;
    }

  private:
    test::TempFolder folder_;
};

void BM_Report30DaysCsv(benchmark::State& state) {
    const ReportFolder folder;
    for (auto _ : state) benchmark::DoNotOptimize(ReportCsv(folder.ReadDays()));
}
BENCHMARK(BM_Report30DaysCsv)->Unit(benchmark::kMillisecond);

void BM_Report30DaysPicture(benchmark::State& state) {
    const std::vector<AsRunDay> days = ReportFolder().ReadDays();
    for (auto _ : state) benchmark::DoNotOptimize(TimelinePng(days, *TimelineLayout::For(days)));
}
BENCHMARK(BM_Report30DaysPicture)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vardo

int main(int argc, char** argv) {
    // The picture is drawn offscreen, as the report tool draws it.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
