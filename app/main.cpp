#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <iostream>

#include "ApplicationHints.h"
#include "CommandLineOptions.h"
#include "FirstPaintReporter.h"
#include "Language.h"
#include "ProgramBuild.h"
#include "Prompts.h"
#include "Station.h"
#include "SystemServices.h"
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
    vardo::Station station;
    QApplication application(argc, argv);
    const vardo::ProgramTranslation translation(
        vardo::StoredLanguage(vardo::ThisProgramPlace().settingsFile));
    if (!vardo::platform::HasHighResolutionCounter()) {
        QMessageBox::information(
            nullptr, {},
            QCoreApplication::translate(
                "vardo::TFrmMain",
                "对不起,发现该计算机没有高性能计数器.\r\n请升级您的计算机和操作系统.系统退出"));
        return 0;
    }
    QApplication::setApplicationName("Vardo");
    vardo::ApplicationHints hints(application);

    const vardo::platform::ProgramPlace place = vardo::ThisProgramPlace();
    vardo::QtPrompts prompts;
    // Before the main window: its start-up runs the schedule scan, which can start tasks while a
    // box of the start-up waits for the operator.
    station.Open(place);
    vardo::TFrmMain main(place, {prompts, station.Processes(), station.Windows()});
    vardo::FirstPaintReporter reporter;
    reporter.WatchWhenAsked(main);
    const RunningMainWindow running(main);
    station.ForwardSessionEnd([&main] { main.EndSession(); });
    if (main.IsClosed()) return 0;  // the session ended during the start-up
    main.show();
    return application.exec();
}
