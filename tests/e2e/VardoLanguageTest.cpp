// The files do not change with the language: the real vardo executable runs the same day of real
// tasks once in Chinese and once in English, and the timetable, the settings, the history, the
// as-run report and the names of the files come out the same bytes.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>

#include "RunCommand.h"
#include "TextCodec.h"
#include "VardoProgramFolder.h"

namespace vardo::test {
namespace {

using namespace std::chrono_literals;

// The times the files hold (the run's own seconds, and the durations) differ between two runs; the
// digits are masked, every other byte is compared.
std::string WithoutDigits(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }, '#');
    return text;
}

std::string DayText(std::time_t when, const char* format) {
    std::tm local{};
    localtime_r(&when, &local);
    char text[16];
    std::strftime(text, sizeof text, format, &local);
    return text;
}

class VardoLanguage : public VardoProgramFolder {
  protected:
    // What one run leaves in the program folder, by file name (relative to the folder).
    using Files = std::map<std::string, std::string>;

    void SetLocale(const char* lang) {
        unsetenv("LANGUAGE");
        unsetenv("LC_ALL");
        unsetenv("LC_MESSAGES");
        setenv("LANG", lang, 1);
    }

    // A day in a few seconds: a task with a reminder that ends at its end time, a task started
    // without its window, an exclusive task that ends it, and the automatic close that ends the
    // last one.
    std::time_t RunTheDay() {
        return StartVardoAhead([&](std::time_t first) {
            const auto at = [first](int offset) {
                return LocalTimeText(first, offset, "%02d:%02d:%02d");
            };
            const std::string client = VARDO_XTESTCLIENT;
            const std::string table =
                TimetableLine({"  1", client, "--window \"E2E Morning\"", "晨间新闻", at(0), at(3),
                               "", "否", "否,最大", "1", "", "", "", "", "", "00:00:02"}) +
                TimetableLine({"  2", client, "--window \"E2E Hidden\"", "后台任务", at(1), "", "",
                               "否", "否,无", "2", "", "", "", "", "", ""}) +
                TimetableLine({"  3", client, "--window \"E2E Exclusive\"", "独占节目", at(4), "",
                               "", "是", "是,最大", "2", "", "", "", "", "", ""});
            WriteBytes("Data/任务计划表.tab", Utf8ToGb18030(table));
            WriteBytes("VARDO.INI",
                       "[START]\r\nchkSaveHis=YES\r\nchkAutoShutDown=YES\r\n"
                       "TimePicker=" +
                           LocalTimeText(first, 7, "%d:%02d:%02d") + "\r\n");
        });
    }

    Files RunIn(const char* lang) {
        SetLocale(lang);
        const std::time_t start = RunTheDay();
        EXPECT_NE(start, 0);
        const std::optional<std::uint32_t> status = WaitForExit(60s);
        EXPECT_TRUE(status.has_value()) << "vardo did not close itself in " << lang;
        Files files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_)) {
            const std::string name = std::filesystem::relative(entry.path(), folder_).string();
            if (name.rfind("translations", 0) == 0 || name == "vardo") continue;
            files[name] = entry.is_regular_file() ? WithoutDigits(ReadBytes(name)) : "<folder>";
        }
        EXPECT_TRUE(files.count("History/" + DayText(start, "%Y%m%d") + ".txt"))
            << "no history file in " << lang;
        const CommandResult report =
            RunCommand(VARDO_REPORT, {folder_.string(), "--from", DayText(start, "%Y-%m-%d")});
        EXPECT_EQ(report.status, 0) << report.err;
        files["<report CSV>"] = WithoutDigits(report.out);
        StopVardo();
        return files;
    }
};

TEST_F(VardoLanguage, DayOfTasks_InEnglish_WritesTheSameBytesAsInChinese) {
    std::filesystem::copy(VARDO_TRANSLATIONS_DIR, folder_ / "translations");
    // The English run speaks English: the same folder answers --help in English.
    SetLocale("en_US.UTF-8");
    const CommandResult help = RunCommand((folder_ / "vardo").string(), {"--help"});
    ASSERT_TRUE(help.out.starts_with("Usage: vardo ")) << help.out;

    const Files chinese = RunIn("zh_CN.UTF-8");
    const Files english = RunIn("en_US.UTF-8");
    ASSERT_FALSE(chinese.empty());
    for (const auto& [name, bytes] : chinese) {
        ASSERT_TRUE(english.count(name)) << name << " is missing in English";
        EXPECT_EQ(english.at(name), bytes) << name;
    }
    for (const auto& [name, bytes] : english) {
        EXPECT_TRUE(chinese.count(name)) << name << " is written only in English";
    }
    // The day ran: three starts and three ends are in the history.
    const auto history = std::find_if(english.begin(), english.end(), [](const auto& file) {
        return file.first.rfind("History/", 0) == 0 && file.second != "<folder>";
    });
    ASSERT_NE(history, english.end());
    const std::string lines = Gb18030ToUtf8(history->second);
    const auto count = [&lines](const std::string& event) {
        std::size_t found = 0;
        for (std::size_t at = lines.find(event); at != std::string::npos;
             at = lines.find(event, at + 1)) {
            ++found;
        }
        return found;
    };
    EXPECT_EQ(count(" 启动任务: 【"), 3u) << lines;
    EXPECT_EQ(count(" 结束任务: 【"), 3u) << lines;
}

}  // namespace
}  // namespace vardo::test
