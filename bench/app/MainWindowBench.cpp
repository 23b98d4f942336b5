// A full repaint of the main window: every panel, button, label, the grid and the memo painted
// again into an image of the window's size, offscreen. The areas alone show where the time goes.
#include "MyPanel.h"
#include "PosixProcesses.h"
#include "Prompts.h"
#include "TaskGridView.h"
#include "TextCodec.h"
#include "X11Windows.h"
#include "utMain.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <memory>
#include <string>

namespace {

// A program folder with a default timetable of the given number of rows, and the main window
// shown on it.
class MainWindowBed {
  public:
    explicit MainWindowBed(int rows) {
        qputenv("XDG_CONFIG_HOME", (folder_.path() + "/config").toUtf8());
        QDir(folder_.path()).mkpath("Data");
        std::string table;
        for (int row = 1; row <= rows; ++row) {
            table += std::to_string(row) + "^^/bin/true^^--row " + std::to_string(row) + "^^节目" +
                     std::to_string(row) +
                     "^^08:00:00^^09:00:00^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n";
        }
        QFile file(folder_.path() + "/Data/任务计划表.tab");
        const std::string bytes = vardo::Utf8ToGb18030(table);
        if (file.open(QIODevice::WriteOnly)) file.write(bytes.data(), qint64(bytes.size()));
        file.close();
        main_ = std::make_unique<vardo::TFrmMain>(
            vardo::platform::PortablePlace((folder_.path() + "/vardo").toStdString()),
            vardo::MainWindowServices{prompts_, processes_, windows_});
        main_->show();
        QApplication::processEvents();
    }
    vardo::TFrmMain& Main() { return *main_; }

  private:
    QTemporaryDir folder_;
    vardo::QtPrompts prompts_;
    vardo::platform::PosixProcesses processes_;
    vardo::platform::X11Windows windows_;
    std::unique_ptr<vardo::TFrmMain> main_;
};

void Render(benchmark::State& state, QWidget& widget) {
    QImage image(widget.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        widget.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

// Argument: the timetable's rows.
void BM_MainWindowFullRepaint(benchmark::State& state) {
    MainWindowBed bed(static_cast<int>(state.range(0)));
    Render(state, bed.Main());
}
BENCHMARK(BM_MainWindowFullRepaint)->Arg(50)->Arg(1000)->Unit(benchmark::kMicrosecond);

// Argument: 0 the header panel, 1 the field panel, 2 the command panel, 3 the grid within it.
void BM_MainWindowAreaRepaint(benchmark::State& state) {
    MainWindowBed bed(50);
    vardo::TFrmMain& main = bed.Main();
    QWidget* const areas[] = {main.MyPanel1, main.MyPanel6, main.MyPanel4, main.sgJM};
    Render(state, *areas[state.range(0)]);
}
BENCHMARK(BM_MainWindowAreaRepaint)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
