// vardo-screenshots OUTDIR: shows the main window and the settings dialog on the X display in
// $DISPLAY, with a small sample timetable in a temporary program folder, and writes what they
// show to OUTDIR/main-window.png and OUTDIR/settings-dialog.png.
#include "Language.h"
#include "PosixProcesses.h"
#include "Prompts.h"
#include "TextCodec.h"
#include "X11Windows.h"
#include "utMain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// The rows of the sample timetable (fields separated by "^^", GB18030 on disk).
constexpr const char* SampleRows[] = {
    "1^^/usr/bin/xclock^^-digital^^晨间新闻^^07:00:00^^07:30:00^^^^否^^是,最大^^1^^^^^^^^^^^^^^",
    "2^^/usr/bin/xterm^^-e top^^设备巡检^^08:00:00^^08:05:00^^^^是^^否,最大^^2^^^^^^^^^^^^^^",
    "3^^/usr/bin/feh^^-F "
    "/srv/slides^^午间图片轮播^^12:00:00^^13:00:00^^^^否^^是,最大^^2^^^^^^^^^^^^00:30:00^^",
    "4^^/usr/bin/mpv^^/srv/"
    "evening.mp4^^晚间节目^^19:00:00^^21:00:00^^^^是^^是,最大^^1^^^^^^^^^^^^^^",
};

bool WriteFile(const QString& path, const std::string& utf8) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const std::string bytes = vardo::Utf8ToGb18030(utf8);
    return file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
           static_cast<qint64>(bytes.size());
}

// Lets the window system map and paint what was shown, and the clock tick at least once, so the
// date, time and weekday are filled in.
void Settle() {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 1200) QApplication::processEvents(QEventLoop::AllEvents, 50);
}

bool Save(QWidget& widget, const QString& path) {
    if (widget.grab().save(path, "PNG")) return true;
    std::fprintf(stderr, "vardo-screenshots: cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // The windows in the locale's language, as the program beside its built translations.
    const vardo::ProgramTranslation translation({}, {VARDO_TRANSLATIONS_DIR});
    if (argc != 2) {
        std::fprintf(stderr, "usage: vardo-screenshots OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir folder;
    // The settings dialog keeps the auto-start entry: keep it inside the temporary folder.
    qputenv("XDG_CONFIG_HOME", (folder.path() + "/config").toUtf8());
    std::string table;
    for (const char* row : SampleRows) table += std::string(row) + "\r\n";
    if (!QDir().mkpath(out) || !QDir(folder.path()).mkpath("Data") ||
        !WriteFile(folder.path() + "/Data/任务计划表.tab", table) ||
        !WriteFile(folder.path() + "/VARDO.INI", "[START]\r\nchkMin=NO\r\nchkAutoStart=NO\r\n")) {
        std::fprintf(stderr, "vardo-screenshots: cannot prepare %s\n", qPrintable(folder.path()));
        return 1;
    }

    vardo::QtPrompts prompts;
    vardo::platform::PosixProcesses processes;
    vardo::platform::X11Windows windows;
    vardo::TFrmMain main(vardo::platform::PortablePlace((folder.path() + "/vardo").toStdString()),
                         {prompts, processes, windows});
    main.show();
    Settle();
    if (!Save(main, out + "/main-window.png")) return 1;
    main.btnSetupClick();
    Settle();
    return Save(*main.FrmSetup, out + "/settings-dialog.png") ? 0 : 1;
}
