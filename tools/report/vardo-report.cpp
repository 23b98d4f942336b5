// vardo-report: what a program folder's history says ran, against the timetables that applied,
// as CSV and as a timeline picture.
#include <QByteArray>
#include <QGuiApplication>
#include <QString>
#include <QtGlobal>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <regex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "AsRun.h"
#include "AtomicFile.h"
#include "ReportCsv.h"
#include "ReportTimeline.h"
#include "TimeText.h"

namespace vardo {
namespace {

constexpr std::string_view kHelp =
    "Usage: vardo-report PROGRAM_FOLDER --from YYYY-MM-DD [--to YYYY-MM-DD] [--csv FILE] [--png "
    "FILE]\n"
    "Report what ran against what was planned (the as-run log) for the days from --from to --to\n"
    "(default: the --from day alone), from the history files History/YYYYMMDD.txt and the\n"
    "timetables in Data/ of PROGRAM_FOLDER: the folder that holds the program's Data/ and\n"
    "History/, ~/.local/share/vardo for the installed program ($XDG_DATA_HOME/vardo when set),\n"
    "build/run for the one the build's run command starts.\n"
    "\n"
    "Each day's timetable is chosen as the program chooses it: Data/YYYY-MM-DD.tab, else\n"
    "Data/星期X.tab, else Data/任务计划表.tab, as these files are now.\n"
    "\n"
    "  --from DATE   first day of the report\n"
    "  --to DATE     last day of the report (a report covers at most 3660 days)\n"
    "  --csv FILE    write the report as CSV (UTF-8 with a byte-order mark); - for standard "
    "output\n"
    "  --png FILE    draw a timeline per day: planned and actual spans, missed and late starts\n"
    "  --help        show this text and exit\n"
    "  --version     show the version and exit\n"
    "\n"
    "Without --csv and --png the CSV goes to standard output. Its columns: date, row,\n"
    "application, description, planned_start, planned_end, actual_start, actual_end, end_kind\n"
    "(ended, exited or none), run_seconds, start_delay_seconds, status (ran, late, missed,\n"
    "pending, unplanned, or empty for a row without a start time that did not run); one line\n"
    "per timetable row and day, then one per start that no row explains (row empty). An end\n"
    "after midnight counts on from 24:00:00 (24:00:20 is 00:00:20 of the next day); a text\n"
    "starting with = + - or @ gets a leading ' so that spreadsheets take it as text.\n"
    "\n"
    "Lines of a history file that are not history lines are skipped and counted on standard "
    "error.\n"
    "Exit status: 0 when the report was written, 1 when a file could not be written, 2 for a "
    "wrong\n"
    "command line or a folder that is missing or holds neither Data/ nor History/.\n";

constexpr std::chrono::days kMaxDays{3660};

// The file name that stands for standard output.
const std::string kStandardOutput(1, '-');

// A wrong command line: one line on standard error, exit status 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A report that could not be written: exit status 1.
class WriteError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Options {
    std::string programFolder;  // ends in '/'
    std::chrono::year_month_day from;
    std::chrono::year_month_day to;
    std::string csvFile;  // kStandardOutput for standard output
    std::string pngFile;
};

std::chrono::year_month_day ParseDate(const std::string& option, const std::string& text) {
    static const std::regex kDate("(\\d{4})-(\\d{2})-(\\d{2})");
    std::smatch parts;
    if (std::regex_match(text, parts, kDate)) {
        const std::chrono::year_month_day date{std::chrono::year{std::stoi(parts[1])},
                                               std::chrono::month(std::stoul(parts[2])),
                                               std::chrono::day(std::stoul(parts[3]))};
        if (date.ok()) return date;
    }
    throw UsageError("bad date \"" + text + "\" for " + option + " (YYYY-MM-DD)");
}

Options ParseArguments(const std::vector<std::string>& args) {
    Options options;
    std::optional<std::string> from;
    std::optional<std::string> to;
    std::vector<std::string> folders;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (const std::size_t equals = name.find('=');
            name.starts_with("--") && equals != name.npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        const auto takeValue = [&]() {
            if (value) return *value;
            if (i + 1 == args.size()) throw UsageError(name + " needs a value");
            return args[++i];
        };
        if (name == "--from") {
            from = takeValue();
        } else if (name == "--to") {
            to = takeValue();
        } else if (name == "--csv") {
            options.csvFile = takeValue();
        } else if (name == "--png") {
            options.pngFile = takeValue();
        } else if (name.starts_with("-") && name != "-") {
            throw UsageError("unknown option " + name);
        } else {
            folders.push_back(name);
        }
    }
    if (folders.size() != 1) throw UsageError("give one PROGRAM_FOLDER");
    if (!from) throw UsageError("--from is missing");
    options.from = ParseDate("--from", *from);
    options.to = to ? ParseDate("--to", *to) : options.from;
    const std::chrono::days span =
        std::chrono::sys_days{options.to} - std::chrono::sys_days{options.from};
    if (span < std::chrono::days{0})
        throw UsageError("--to " + *to + " lies before --from " + *from);
    // A mistyped year would otherwise have the report run for every day of centuries.
    if (span >= kMaxDays)
        throw UsageError("a report covers at most " + std::to_string(kMaxDays.count()) + " days");

    std::error_code error;
    if (!std::filesystem::is_directory(folders[0], error))
        throw UsageError(folders[0] + ": no such program folder");
    options.programFolder = folders[0];
    if (!options.programFolder.ends_with('/')) options.programFolder += '/';
    // The folder of the program file (build/app, /usr/bin) is a likely mistake; its report would
    // be empty and look like a station that ran nothing.
    if (!std::filesystem::is_directory(options.programFolder + "Data", error) &&
        !std::filesystem::is_directory(options.programFolder + "History", error)) {
        throw UsageError(folders[0] +
                         ": not a program folder (it holds neither Data/ nor History/); the "
                         "installed program's is ~/.local/share/vardo");
    }
    if (options.csvFile.empty() && options.pngFile.empty()) options.csvFile = kStandardOutput;
    return options;
}

std::vector<AsRunDay> ReadDays(const Options& options) {
    AsRunFolder folder(options.programFolder);
    std::vector<AsRunDay> days;
    for (std::chrono::sys_days day{options.from}; day <= std::chrono::sys_days{options.to};
         day += std::chrono::days{1}) {
        days.push_back(folder.Day(std::chrono::year_month_day{day}));
        if (!days.back().historyFound) {
            std::cerr << "vardo-report: " << DateText(true, days.back().date)
                      << ": no history file\n";
        }
    }
    for (const HistoryFileNote& note : folder.Notes()) {
        if (!note.error.empty()) std::cerr << "vardo-report: " << note.error << "\n";
        if (note.skippedLines > 0) {
            std::cerr << "vardo-report: " << note.path << ": skipped " << note.skippedLines
                      << (note.skippedLines == 1 ? " line that is" : " lines that are")
                      << " not a history line\n";
        }
    }
    return days;
}

void WriteFile(const std::string& path, std::string_view bytes) {
    if (path == kStandardOutput) {
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::cout.flush();
        if (!std::cout) throw WriteError("standard output: write failed");
        return;
    }
    const WriteResult written = WriteFileAtomically(path, bytes);
    if (!written) throw WriteError(written.error);
}

void ShowQtErrorsOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << "vardo-report: " << message.toStdString() << "\n";
}

void WritePicture(const std::string& path, const std::vector<AsRunDay>& days) {
    const std::optional<TimelineLayout> layout = TimelineLayout::For(days);
    if (!layout) {
        throw WriteError(path + ": too many lanes for one picture; report fewer days");
    }
    // The picture is drawn offscreen: no display is needed. Qt's notes about the session (no
    // runtime folder, no display) say nothing about the report, so only its errors are shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(ShowQtErrorsOnly);
    int argc = 1;
    char name[] = "vardo-report";
    char* argv[] = {name, nullptr};
    const QGuiApplication application(argc, argv);
    const QByteArray png = TimelinePng(days, *layout);
    if (png.isEmpty()) throw WriteError(path + ": the picture could not be encoded");
    WriteFile(path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
}

int Run(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::cout << kHelp;
            return 0;
        }
        if (arg == "--version") {
            std::cout << "vardo-report " VARDO_VERSION "\n";
            return 0;
        }
    }
    const Options options = ParseArguments(args);
    const std::vector<AsRunDay> days = ReadDays(options);
    if (!options.csvFile.empty()) WriteFile(options.csvFile, ReportCsv(days));
    if (!options.pngFile.empty()) WritePicture(options.pngFile, days);
    return 0;
}

}  // namespace
}  // namespace vardo

int main(int argc, char** argv) {
    try {
        return vardo::Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const vardo::UsageError& error) {
        std::cerr << "vardo-report: " << error.what() << " (see --help)\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "vardo-report: " << error.what() << "\n";
        return 1;
    }
}
