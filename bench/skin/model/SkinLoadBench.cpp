// A full skin load (decompression, container, definition, bitmaps, composed images) of each
// shipped skin.
#include "SkinManage.h"
#include "WinSkinData.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace vardo {
namespace {

void LoadShippedSkin(benchmark::State& state, const char* name) {
    TSkinManage manager;
    TSkinData data(nullptr, &manager);
    data.SetSkinFile(QStringLiteral(VARDO_SKINS_DIR "/") + QLatin1String(name) +
                     QStringLiteral(".skn"));
    if (!data.SkinReady()) {
        state.SkipWithError(qPrintable(data.LoadError()));
        return;
    }
    for (auto _ : state) {
        const bool loaded = data.LoadSkin();
        benchmark::DoNotOptimize(loaded);
    }
    state.SetBytesProcessed(state.iterations() * data.SkinImage().size());
}

BENCHMARK_CAPTURE(LoadShippedSkin, Console, "Console")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadShippedSkin, Daylight, "Daylight")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadShippedSkin, Contrast, "Contrast")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vardo

int main(int argc, char** argv) {
    // Colours fall back on the desktop's palette, which needs the application object.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
