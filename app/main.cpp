#include <QApplication>
#include <QMessageBox>

#include <cstdlib>

#include "ApplicationHints.h"
#include "FirstPaintReporter.h"
#include "PosixProcesses.h"
#include "Prompts.h"
#include "QtText.h"
#include "SettingsStore.h"
#include "SystemServices.h"
#include "TaskEnvironment.h"
#include "X11Windows.h"
#include "utMain.h"

int main(int argc, char* argv[]) {
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

    const std::string programFile = vardo::platform::ProgramFilePath();
    vardo::QtPrompts prompts;
    vardo::platform::PosixProcesses processes;
    // Read once at start-up: the key has no control in the settings dialog.
    const bool tasksOnX11 = vardo::IsYes(
        vardo::ReadSettingDef(vardo::SettingsFilePath(programFile), "START", "TasksOnX11", "YES"));
    processes.SetEnvironment(vardo::platform::TaskEnvironment(session, tasksOnX11));
    vardo::platform::X11Windows windows;
    vardo::TFrmMain main(vardo::ToQString(programFile), {prompts, processes, windows});
    vardo::FirstPaintReporter reporter;
    reporter.WatchWhenAsked(main);
    main.show();
    return application.exec();
}
