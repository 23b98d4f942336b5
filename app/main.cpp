#include <QApplication>
#include <QMessageBox>
#include <QPainter>
#include <cstdio>
#include <cstdlib>

#include "ApplicationHints.h"
#include "PosixProcesses.h"
#include "Prompts.h"
#include "SystemServices.h"
#include "X11Windows.h"
#include "utMain.h"

namespace {

// With VARDO_REPORT_FIRST_PAINT set, the main window's first paint is reported on stderr, so the
// start-up benchmark can tell when the window is on screen.
class FirstPaintReporter final : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            std::fputs("vardo: first paint\n", stderr);
            std::fflush(stderr);
            watched->removeEventFilter(this);
        }
        return false;
    }
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
    vardo::TFrmMain main(QString::fromStdString(vardo::platform::ProgramFilePath()),
                         {prompts, processes, windows});
    FirstPaintReporter reporter;
    if (std::getenv("VARDO_REPORT_FIRST_PAINT")) main.installEventFilter(&reporter);
    main.show();
    return application.exec();
}
