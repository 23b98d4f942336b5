// vardo-screenshots OUTDIR TIMETABLE HISTORY: shows the main window and the settings dialog on the
// X display in $DISPLAY, in a temporary program folder whose timetable is TIMETABLE and whose
// history of today is HISTORY (a sample day), and writes what they show to OUTDIR/main-window.png
// and OUTDIR/settings-dialog.png, in the locale's language.
#include "Language.h"
#include "PosixProcesses.h"
#include "Prompts.h"
#include "TextCodec.h"
#include "X11Windows.h"
#include "utMain.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

bool WriteFile(const QString& path, const std::string& utf8) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const std::string bytes = vardo::Utf8ToGb18030(utf8);
    return file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
           static_cast<qint64>(bytes.size());
}

bool Copy(const QString& from, const QString& to) {
    QFile::remove(to);
    return QFile::copy(from, to);
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
    if (argc != 4) {
        std::fprintf(stderr, "usage: vardo-screenshots OUTDIR TIMETABLE HISTORY\n");
        return 2;
    }
    // Absolute: the main window makes its program folder the current folder.
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QTemporaryDir folder;
    // The settings dialog keeps the auto-start entry: keep it inside the temporary folder.
    qputenv("XDG_CONFIG_HOME", (folder.path() + "/config").toUtf8());
    const QString today = QDate::currentDate().toString("yyyyMMdd");
    QDir program(folder.path());
    if (!QDir().mkpath(out) || !program.mkpath("Data") || !program.mkpath("History") ||
        !Copy(QString::fromLocal8Bit(argv[2]), program.filePath("Data/任务计划表.tab")) ||
        !Copy(QString::fromLocal8Bit(argv[3]), program.filePath("History/" + today + ".txt")) ||
        !WriteFile(program.filePath("VARDO.INI"),
                   "[START]\r\nchkMin=NO\r\nchkAutoStart=NO\r\nchkSaveHis=YES\r\n")) {
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
