#include <QApplication>
#include <QMessageBox>
#include <cstdlib>

#include "ApplicationHints.h"
#include "FirstPaintReporter.h"
#include "PosixProcesses.h"
#include "Prompts.h"
#include "QtText.h"
#include "SessionEndSignals.h"
#include "SystemServices.h"
#include "X11Windows.h"
#include "utMain.h"

namespace {

// The main window while its event loop may run. Qt's X connection ends the process with exit()
// when the display goes away (the server ends, the connection breaks); the close path then runs
// from exit's handlers, where the window and the tasks still exist.
vardo::TFrmMain* runningMainWindow = nullptr;

extern "C" void CloseMainWindowAtExit() {
    if (runningMainWindow) runningMainWindow->CloseAtExit();
}

class RunningMainWindow {
  public:
    explicit RunningMainWindow(vardo::TFrmMain& main) {
        runningMainWindow = &main;
        std::atexit(CloseMainWindowAtExit);
    }
    ~RunningMainWindow() { runningMainWindow = nullptr; }
    RunningMainWindow(const RunningMainWindow&) = delete;
    RunningMainWindow& operator=(const RunningMainWindow&) = delete;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (!vardo::platform::HasHighResolutionCounter()) {
        QMessageBox::information(
            nullptr, {},
            "对不起,发现该计算机没有高性能计数器.\r\n请升级您的计算机和操作系统.系统退出");
        return 0;
    }
    QApplication::setApplicationName("Vardo");
    vardo::ApplicationHints hints(application);

    vardo::QtPrompts prompts;
    vardo::platform::PosixProcesses processes;
    vardo::platform::X11Windows windows;
    vardo::TFrmMain main(vardo::ToQString(vardo::platform::ProgramFilePath()),
                         {prompts, processes, windows});
    vardo::FirstPaintReporter reporter;
    reporter.WatchWhenAsked(main);
    const RunningMainWindow running(main);
    const vardo::SessionEndSignals sessionEnd([&main] { main.EndSession(); });
    main.show();
    return application.exec();
}
