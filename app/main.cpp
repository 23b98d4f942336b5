#include <QApplication>
#include <QMessageBox>
#include <iostream>

#include "ApplicationHints.h"
#include "CommandLineOptions.h"
#include "FirstPaintReporter.h"
#include "PosixProcesses.h"
#include "ProgramBuild.h"
#include "Prompts.h"
#include "SystemServices.h"
#include "X11Windows.h"
#include "utMain.h"

int main(int argc, char* argv[]) {
    if (auto status = vardo::AnswerHelpOrVersion(argc, argv, vardo::ProgramVersion(), std::cout)) {
        return *status;
    }
    QApplication application(argc, argv);
    if (auto status = vardo::RefuseLeftArguments(argc, argv, std::cerr)) return *status;
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
    vardo::TFrmMain main(vardo::ThisProgramPlace(), {prompts, processes, windows});
    vardo::FirstPaintReporter reporter;
    reporter.WatchWhenAsked(main);
    main.show();
    return application.exec();
}
