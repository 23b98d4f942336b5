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
#include "CommandArguments.h"
#include "Language.h"
#include "ReportCsv.h"
#include "ReportTimeline.h"
#include "TimeText.h"
#include "Utf8Path.h"

namespace vardo {
namespace {

// The help in Chinese, the program's own language; the translation gives it in the locale's.
constexpr const char* kHelp = QT_TRANSLATE_NOOP(
    "vardo::ReportCommandLine",
    "用法：vardo-report 程序文件夹 --from YYYY-MM-DD [--to YYYY-MM-DD] [--csv 文件] [--png 文件]\n"
    "按程序文件夹中的运行历史 History/YYYYMMDD.txt 和 Data/ 中的任务计划表，报告从 --from 到 --to\n"
    "（默认只有 --from 那一天）各天实际运行的与计划的对比（播出记录）。程序文件夹是存放程序的\n"
    "Data/ 和 History/ 的文件夹：安装的程序为 ~/.local/share/vardo（设置了 $XDG_DATA_HOME 时为\n"
    "$XDG_DATA_HOME/vardo），构建的运行命令所启动的程序为 build/run。\n"
    "\n"
    "每天的任务计划表按程序的方式选择：Data/YYYY-MM-DD.tab，否则 Data/星期X.tab，否则\n"
    "Data/任务计划表.tab，以这些文件的现状为准。\n"
    "\n"
    "  --from 日期   报告的第一天\n"
    "  --to 日期     报告的最后一天（一份报告最多 3660 天）\n"
    "  --csv 文件    把报告写成 CSV（带字节顺序标记的 UTF-8）；- 表示标准输出\n"
    "  --png 文件    每天画一条时间线：计划与实际的时段、未启动和迟启动\n"
    "  --help        显示本说明并退出\n"
    "  --version     显示版本并退出\n"
    "\n"
    "没有 --csv 和 --png 时 CSV 写到标准输出。它的列：date, row, application, description,\n"
    "planned_start, planned_end, actual_start, actual_end, end_kind（ended、exited 或 none）,\n"
    "run_seconds, start_delay_seconds, status（ran、late、missed、pending、unplanned，或没有开始\n"
    "时间且未运行的行为空）；每个任务计划表行每天一行，然后每个没有行可解释的启动一行（row "
    "为空）。\n"
    "午夜之后的结束从 24:00:00 往后计（24:00:20 即次日 00:00:20）；以 = + - 或 @ 开头的文本前加 "
    "'，\n"
    "使电子表格把它当作文本。\n"
    "\n"
    "历史文件中不是历史行的行被跳过，其数目写在标准错误上。\n"
    "退出状态：0 报告已写出，1 有文件无法写入，2 命令行错误，或程序文件夹不存在或既无 Data/ 也无\n"
    "History/。\n");

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
    if (!std::filesystem::is_directory(Utf8Path(folders[0]), error))
        throw UsageError(folders[0] + ": no such program folder");
    options.programFolder = folders[0];
    if (!options.programFolder.ends_with('/')) options.programFolder += '/';
    // The folder of the program file (build/app, /usr/bin) is a likely mistake; its report would
    // be empty and look like a station that ran nothing.
    if (!std::filesystem::is_directory(Utf8Path(options.programFolder + "Data"), error) &&
        !std::filesystem::is_directory(Utf8Path(options.programFolder + "History"), error)) {
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
    // The weekday names of the picture in the locale's language.
    const ProgramTranslation translation({});
    const QByteArray png = TimelinePng(days, *layout);
    if (png.isEmpty()) throw WriteError(path + ": the picture could not be encoded");
    WriteFile(path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
}

int Run(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::cout << CommandLineText("vardo::ReportCommandLine", kHelp);
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
        return vardo::Run(vardo::CommandArguments(argc, argv));
    } catch (const vardo::UsageError& error) {
        std::cerr << "vardo-report: " << error.what() << " (see --help)\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "vardo-report: " << error.what() << "\n";
        return 1;
    }
}
