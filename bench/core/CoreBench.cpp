// Timetable load and save of 10,000 rows (target: under 10 ms each), and the per-call cost of the
// time-text and field helpers the schedule scan uses on every row each second.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "SettingsStore.h"
#include "TaskTable.h"
#include "TempFolder.h"
#include "TextFields.h"
#include "TimeText.h"
#include "TimetableFile.h"

namespace {

constexpr int kRows = 10000;

// A temporary folder holding a saved timetable of kRows typical rows.
class TimetableFixture {
  public:
    TimetableFixture() {
        table_.SetRowCount(kRows + 1);
        for (int row = 1; row <= kRows; ++row) {
            table_.SetCell(vardo::ColApplication, row, "/opt/show/播放器/player.bin");
            table_.SetCell(vardo::ColParameters, row, "\"/srv/media/早间新闻.mp4\" \"--loop\"");
            table_.SetCell(vardo::ColDescription, row, "早间新闻 " + std::to_string(row));
            table_.SetCell(vardo::ColStartTime, row, vardo::SecondsToTimeText(row * 8 % 86400));
            table_.SetCell(vardo::ColEndTime, row, vardo::SecondsToTimeText((row * 8 + 5) % 86400));
            table_.SetCell(vardo::ColCaption, row, "Player");
            table_.SetCell(vardo::ColExclusive, row, std::string(vardo::kNo));
            table_.SetCell(vardo::ColWindowSetting, row, "是,最大");
            table_.SetCell(vardo::ColMonitor, row, "2");
            table_.SetCell(vardo::ColReminder, row, "00:30:00");
        }
        vardo::RenumberTaskRows(table_);
        if (!vardo::SaveTable(table_, TablePath())) std::abort();
    }

    const vardo::TaskTable& table() const { return table_; }
    std::string TablePath() const { return folder_.File("bench.tab"); }
    std::string SettingsPath() const { return folder_.File("VARDO.INI"); }

  private:
    vardo::test::TempFolder folder_;
    vardo::TaskTable table_;
};

void BM_SaveTable10k(benchmark::State& state) {
    TimetableFixture fixture;
    for (auto _ : state)
        benchmark::DoNotOptimize(vardo::SaveTable(fixture.table(), fixture.TablePath()));
}
BENCHMARK(BM_SaveTable10k)->Unit(benchmark::kMillisecond);

void BM_LoadTable10k(benchmark::State& state) {
    TimetableFixture fixture;
    for (auto _ : state) {
        vardo::TaskTable table;
        vardo::LoadTable(table, fixture.TablePath());
        benchmark::DoNotOptimize(table.RowCount());
    }
}
BENCHMARK(BM_LoadTable10k)->Unit(benchmark::kMillisecond);

// The whole load as the main window does it, settings write included.
void BM_LoadTimetable10k(benchmark::State& state) {
    TimetableFixture fixture;
    for (auto _ : state) {
        vardo::TaskTable table;
        vardo::LoadTimetable(table, fixture.TablePath(), fixture.SettingsPath());
        benchmark::DoNotOptimize(table.RowCount());
    }
}
BENCHMARK(BM_LoadTimetable10k)->Unit(benchmark::kMillisecond);

void BM_TimeTextToSeconds(benchmark::State& state) {
    const std::string text = "13:45:07";
    for (auto _ : state) benchmark::DoNotOptimize(vardo::TimeTextToSeconds(text));
}
BENCHMARK(BM_TimeTextToSeconds);

void BM_GetField(benchmark::State& state) {
    const std::string text = "是,最大";
    for (auto _ : state) benchmark::DoNotOptimize(vardo::GetField(text, ",", 2));
}
BENCHMARK(BM_GetField);

}  // namespace
