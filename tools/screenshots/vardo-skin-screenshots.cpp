// vardo-skin-screenshots: starts the program's windows on the running X server, once without a skin
// and once with each skin of a Skins folder, and writes what the screen shows of the main window,
// the settings dialog, a reminder pop-up, the exit question and the open dialog (window manager
// frames included) as PNG files.
//   vardo-skin-screenshots SKINS_FOLDER OUTPUT_FOLDER
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>
#include <memory>

#include "Language.h"
#include "PosixProcesses.h"
#include "Prompts.h"
#include "X11Windows.h"
#include "uParaSet.h"
#include "utMain.h"

namespace {

void Settle(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

bool Grab(const QWidget& window, const QString& path) {
    const QRect area = window.frameGeometry();
    const QPixmap shot =
        window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    if (!shot.save(path, "PNG")) {
        std::fprintf(stderr, "vardo-skin-screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

QWidget* Reminder() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == "FrmMM" && window->isVisible()) return window;
    }
    return nullptr;
}

// The program's prompts as it shows them: the exit question and the dialog that opens a
// timetable, both bare windows of the skin engine.
bool ShootPrompts(QWidget& main, const QDir& program, const QString& look, const QDir& output) {
    QMessageBox box(
        QMessageBox::Question, QCoreApplication::translate("vardo::TFrmMain", "确认退出"),
        QCoreApplication::translate("vardo::TFrmMain",
                                    "退出系统，任务自动启动将停止！\n\r\n\r按“取消”按钮停止退出。"),
        QMessageBox::Ok | QMessageBox::Cancel, &main);
    box.setDefaultButton(QMessageBox::Ok);
    box.show();
    Settle(900);
    bool written = Grab(box, output.filePath(look + "-message.png"));
    box.hide();
    program.mkpath("Data");
    QFile(program.filePath("Data/任务计划表.tab")).open(QIODevice::WriteOnly);
    QFileDialog dialog(&main, {}, program.filePath("Data"), "Vardo(*.tab (*.tab)");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.resize(560, 360);
    dialog.show();
    Settle(900);
    written = Grab(dialog, output.filePath(look + "-open.png")) && written;
    dialog.hide();
    return written;
}

// One run of the program in a program folder of its own: skin is a file of skins, or empty for
// none.
bool ShootOneLook(const QDir& skins, const QString& skin, const QDir& output) {
    QTemporaryDir folder;
    if (!folder.isValid()) return false;
    QDir program(folder.path());
    program.mkpath("Skins");
    if (!skin.isEmpty()) QFile::copy(skins.filePath(skin), program.filePath("Skins/" + skin));
    QFile settings(program.filePath("VARDO.INI"));
    if (!settings.open(QIODevice::WriteOnly)) return false;
    settings.write(QString("[START]\r\nchktskn=%1\r\ncbskn=%2\r\nchkSure=NO\r\nchkMin=NO\r\n")
                       .arg(skin.isEmpty() ? "NO" : "YES", skin)
                       .toUtf8());
    settings.close();

    vardo::QtPrompts prompts;
    vardo::platform::PosixProcesses processes;
    vardo::platform::X11Windows windows;
    auto main = std::make_unique<vardo::TFrmMain>(
        vardo::platform::PortablePlace(program.filePath("vardo").toStdString()),
        vardo::MainWindowServices{prompts, processes, windows});
    main->show();
    Settle(900);
    const QString look = skin.isEmpty() ? QStringLiteral("plain") : QFileInfo(skin).baseName();
    bool written = Grab(*main, output.filePath(look + "-main.png"));
    main->btnSetupClick();
    Settle(900);
    written = Grab(*main->FrmSetup, output.filePath(look + "-settings.png")) && written;
    main->FrmSetup->hide();
    main->ShowReminder({1, "演示节目", "00:30:00"});
    Settle(900);
    if (QWidget* reminder = Reminder()) {
        written = Grab(*reminder, output.filePath(look + "-reminder.png")) && written;
        reminder->close();
    }
    written = ShootPrompts(*main, program, look, output) && written;
    main.reset();
    Settle(200);
    return written;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // The windows in the locale's language, as the program beside its built translations.
    const vardo::ProgramTranslation translation({}, {VARDO_TRANSLATIONS_DIR});
    QApplication::setApplicationName("Vardo");
    if (argc != 3) {
        std::fprintf(stderr, "usage: vardo-skin-screenshots SKINS_FOLDER OUTPUT_FOLDER\n");
        return 2;
    }
    // Absolute: the main window makes its program folder the current one.
    const QDir skins(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath());
    QDir output(QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath());
    if (!output.mkpath(".")) return 1;
    bool written = ShootOneLook(skins, {}, output);
    for (const QString& skin : skins.entryList({"*.skn"}, QDir::Files, QDir::Name)) {
        written = ShootOneLook(skins, skin, output) && written;
    }
    return written ? 0 : 1;
}
