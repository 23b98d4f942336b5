#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <iostream>

#include "ApplicationHints.h"
#include "CommandLineOptions.h"
#include "FirstPaintReporter.h"
#include "PosixProcesses.h"
#include "ProgramBuild.h"
#include "Prompts.h"
#include "SessionEndSignals.h"
#include "SettingsStore.h"
#include "SystemServices.h"
#include "TaskEnvironment.h"
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
    if (auto status = vardo::AnswerHelpOrVersion(argc, argv, vardo::ProgramVersion(), std::cout)) {
        return *status;
    }
    if (auto status = vardo::RefuseUnknownArguments(argc, argv, std::cerr)) return *status;
    // Taken before anything here changes it: tasks start from the operator's own environment.
    const vardo::platform::Environment session = vardo::platform::CurrentEnvironment();
    // On a Wayland session the program's windows go to XWayland too, where the window placement
    // and the main window's centring work.
    if (vardo::platform::OwnWindowsNeedXcb(session)) setenv("QT_QPA_PLATFORM", "xcb", 1);
    QApplication application(argc, argv);
    if (!vardo::platform::HasHighResolutionCounter()) {
        QMessageBox::information(
            nullptr, {},
            "对不起,发现该计算机没有高性能计数器.\r\n请升级您的计算机和操作系统.系统退出");
        return 0;
    }
    QApplication::setApplicationName("Vardo");
    vardo::ApplicationHints hints(application);

    const vardo::platform::ProgramPlace place = vardo::ThisProgramPlace();
    vardo::QtPrompts prompts;
    vardo::platform::PosixProcesses processes;
    // Read once at start-up: the key has no control in the settings dialog.
    const bool tasksOnX11 = vardo::IsYes(
        vardo::ReadSettingDef(place.settingsFile, "START", "TasksOnX11", "YES"));
    processes.SetEnvironment(vardo::platform::TaskEnvironment(session, tasksOnX11));
    vardo::platform::X11Windows windows;
    // Before the main window: its start-up runs the schedule scan, which can start tasks while a
    // box of the start-up waits for the operator.
    vardo::SessionEndSignals sessionEnd;
    vardo::TFrmMain main(place, {prompts, processes, windows});
    vardo::FirstPaintReporter reporter;
    reporter.WatchWhenAsked(main);
    const RunningMainWindow running(main);
    sessionEnd.Forward([&main] { main.EndSession(); });
    if (main.IsClosed()) return 0;  // the session ended during the start-up
    main.show();
    return application.exec();
}
