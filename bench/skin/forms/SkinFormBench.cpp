// Skinning the main window with all its controls: switching the skin on and off, repainting the
// skinned frame, and the resident memory an active skin adds. Needs an X display (run by
// scripts/bench.sh); each of our skins is measured.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QWindow>

#include <unistd.h>

#include <fstream>
#include <memory>

#include "PosixProcesses.h"
#include "Prompts.h"
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClass.h"
#include "X11Windows.h"
#include "utMain.h"

namespace {

const char* const kSkins[] = {"Console.skn", "Contrast.skn", "Daylight.skn"};

long ResidentBytes() {
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// The main window in a program folder of its own, shown with skinning off, and the skin
// component holding the skin.
class SkinnedMain {
  public:
    explicit SkinnedMain(const char* skin) {
        QDir program(folder_.path());
        program.mkpath("Skins");
        QFile::copy(QString(VARDO_SKINS_DIR) + "/" + skin, program.filePath("Skins/") + skin);
        QFile settings(program.filePath("VARDO.INI"));
        settings.open(QIODevice::WriteOnly);
        settings.write("[START]\r\nchkMin=NO\r\n");
        settings.close();
        main_ = std::make_unique<vardo::TFrmMain>(
            vardo::platform::PortablePlace(program.filePath("vardo").toStdString()),
            vardo::MainWindowServices{prompts_, processes_, windows_});
        main_->show();
        WaitExposed();
        before_ = ResidentBytes();
        main_->sd1->SetSkinFile(program.filePath("Skins/") + skin);
    }

    ~SkinnedMain() {
        SwitchOff();
        main_.reset();
        Settle();
    }

    vardo::TSkinWindows& Windows() { return vardo::TSkinWindows::Of(main_->sd1->Manager()); }

    void SwitchOn() {
        main_->sd1->Manager().SetSkinningOn(true);
        Windows().RunCommand(vardo::scSwitchOn, *main_->sd1);
        QCoreApplication::sendPostedEvents();
    }
    void SwitchOff() {
        Windows().RunCommand(vardo::scSwitchOff, *main_->sd1);
        main_->sd1->Manager().SetSkinningOn(false);
    }
    static void Settle() {
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    }
    // The window manager maps the window, and maps it again when its frame changes.
    void WaitExposed() {
        QElapsedTimer waited;
        waited.start();
        while (!main_->windowHandle()->isExposed() && waited.elapsed() < 3000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        Settle();
    }

    vardo::TFrmMain& Main() { return *main_; }
    long AddedBytes() const { return ResidentBytes() - before_; }

  private:
    QTemporaryDir folder_;
    vardo::QtPrompts prompts_;
    vardo::platform::PosixProcesses processes_;
    vardo::platform::X11Windows windows_;
    std::unique_ptr<vardo::TFrmMain> main_;
    long before_ = 0;
};

void BM_SwitchOnMainWindow(benchmark::State& state) {
    SkinnedMain main(kSkins[state.range(0)]);
    for (auto _ : state) {
        main.SwitchOn();
        state.PauseTiming();
        main.SwitchOff();
        SkinnedMain::Settle();
        state.ResumeTiming();
    }
    state.SetLabel(kSkins[state.range(0)]);
}
BENCHMARK(BM_SwitchOnMainWindow)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_SwitchOffMainWindow(benchmark::State& state) {
    SkinnedMain main(kSkins[state.range(0)]);
    for (auto _ : state) {
        state.PauseTiming();
        main.SwitchOn();
        SkinnedMain::Settle();
        state.ResumeTiming();
        main.SwitchOff();
    }
    state.SetLabel(kSkins[state.range(0)]);
}
BENCHMARK(BM_SwitchOffMainWindow)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// One repaint of the whole frame (edges, caption, caption buttons), drawn on the window.
void BM_FrameRepaint(benchmark::State& state) {
    SkinnedMain main(kSkins[state.range(0)]);
    main.SwitchOn();
    main.WaitExposed();
    QWidget& window = main.Main();
    vardo::TWinSkinForm* form = main.Windows().FormSkinner(&window);
    if (!form || form->SkinState() != vardo::TWinSkinForm::ssActive) {
        state.SkipWithError("the main window was not skinned");
        return;
    }
    if (!window.windowHandle() || !window.windowHandle()->isExposed()) {
        state.SkipWithError("the main window is not on the screen");
        return;
    }
    const QRegion frame = QRegion(window.rect()) - window.contentsRect();
    for (auto _ : state) window.repaint(frame);
    state.SetLabel(kSkins[state.range(0)]);
}
BENCHMARK(BM_FrameRepaint)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// The frame alone, composed into an image of the window's size.
void BM_FrameRender(benchmark::State& state) {
    SkinnedMain main(kSkins[state.range(0)]);
    main.SwitchOn();
    SkinnedMain::Settle();
    const vardo::TWinSkinForm* form = main.Windows().FormSkinner(&main.Main());
    if (!form) {
        state.SkipWithError("the main window was not skinned");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(form->RenderFrame());
    state.SetLabel(kSkins[state.range(0)]);
}
BENCHMARK(BM_FrameRender)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// A popup menu of 12 items shown, painted once and hidden: with each skin (the popup's skinner,
// its measuring style and the items drawn from the skin), and the last with skinning off.
void BM_PopupMenuShown(benchmark::State& state) {
    const bool skinned = state.range(0) < 3;
    SkinnedMain main(kSkins[skinned ? state.range(0) : 0]);
    if (skinned) main.SwitchOn();
    QMenu menu;
    for (int i = 0; i < 10; ++i) {
        QAction* item = menu.addAction(QStringLiteral("第 %1 项任务\tCtrl+%1").arg(i));
        item->setCheckable(i % 3 == 0);
        item->setChecked(i % 3 == 0);
    }
    menu.addSeparator();
    menu.addMenu(QStringLiteral("更多"))->addAction(QStringLiteral("子项"));
    for (auto _ : state) {
        menu.popup(main.Main().mapToGlobal(QPoint(20, 20)));
        menu.repaint();
        menu.hide();
    }
    if (skinned && main.Windows().PopupMenus().size() != 0) {
        state.SkipWithError("a popup skinner outlived its menu");
    }
    state.SetLabel(skinned ? kSkins[state.range(0)] : "no skin");
}
BENCHMARK(BM_PopupMenuShown)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// Resident memory after loading the skin and skinning the main window, its controls and the
// settings dialog, over the program with skinning off.
void BM_MemoryOfActiveSkin(benchmark::State& state) {
    SkinnedMain main(kSkins[state.range(0)]);
    main.Main().btnSetupClick();
    SkinnedMain::Settle();
    for (auto _ : state) {
        main.SwitchOn();
        SkinnedMain::Settle();
    }
    state.counters["added_MB"] = static_cast<double>(main.AddedBytes()) / (1024.0 * 1024.0);
    state.SetLabel(kSkins[state.range(0)]);
}
BENCHMARK(BM_MemoryOfActiveSkin)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
