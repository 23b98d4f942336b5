#include "HistoryFile.h"

#include <gtest/gtest.h>

#include "TempFolder.h"

namespace vardo {
namespace {

TEST(HistoryFileTest, SaveThenLoad_RoundTripsLinesInGb18030WithCrLf) {
    test::TempFolder folder;
    const std::string path = folder.File("20240315.txt");
    const std::vector<std::string> lines = {
        "  08:30:00 启动任务: 【D:\\Show\\Player.exe 】  Morning news", ""};
    ASSERT_TRUE(SaveHistoryLines(path, lines));
    const std::string bytes = test::ReadBytes(path);
    EXPECT_NE(bytes.find("\xC6\xF4\xB6\xAF\xC8\xCE\xCE\xF1"), std::string::npos);  // 启动任务
    EXPECT_EQ(bytes.substr(bytes.size() - 4), "\r\n\r\n");
    const HistoryLoad load = LoadHistoryLines(path);
    EXPECT_TRUE(load.error.empty());
    EXPECT_EQ(load.lines, lines);
}

TEST(HistoryFileTest, Load_SplitsAnyLineEndAndReadsUtf8) {
    test::TempFolder folder;
    test::WriteBytes(folder.File("h.txt"), "一\r\ntwo\nthree\rfour");
    EXPECT_EQ(LoadHistoryLines(folder.File("h.txt")).lines,
              (std::vector<std::string>{"一", "two", "three", "four"}));
}

TEST(HistoryFileTest, Load_MissingIsEmptyButUnreadableIsAnError) {
    test::TempFolder folder;
    const HistoryLoad missing = LoadHistoryLines(folder.File("none.txt"));
    EXPECT_TRUE(missing.lines.empty());
    EXPECT_TRUE(missing.error.empty());
    EXPECT_FALSE(LoadHistoryLines(folder.path()).error.empty());
}

TEST(HistoryFileTest, Save_FailureIsReportedWithPath) {
    test::TempFolder folder;
    const std::string path = folder.File("missing-folder/20240315.txt");
    const WriteResult result = SaveHistoryLines(path, {"line"});
    EXPECT_FALSE(result);
    EXPECT_EQ(result.error.rfind(path + ": ", 0), 0u);
}

}  // namespace
}  // namespace vardo
