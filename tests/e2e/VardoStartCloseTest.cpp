// Starts the real vardo executable in a temporary program folder on the test X server and checks
// what it leaves behind after closing itself at its automatic shutdown time.
#include <chrono>

#include "TextCodec.h"
#include "VardoProgramFolder.h"

namespace vardo::test {
namespace {

using namespace std::chrono_literals;
using VardoExecutable = VardoProgramFolder;

TEST_F(VardoExecutable, AutomaticShutDown_ClosesThroughTheOrdinaryPathAndLeavesItsFiles) {
    const std::string table =
        Utf8ToGb18030("  1^^/bin/true^^^^晨间节目^^^^^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n");
    std::string shutDownTime;
    const std::time_t shutDown = StartVardoAhead([&](std::time_t first) {
        shutDownTime = LocalTimeText(first, 0, "%d:%02d:%02d");
        WriteBytes("Data/任务计划表.tab", table);
        WriteBytes("VARDO.INI",
                   "[START]\r\nchkAutoShutDown=YES\r\nTimePicker=" + shutDownTime + "\r\n");
    });
    ASSERT_NE(shutDown, 0);

    const std::optional<std::uint32_t> status = WaitForExit(60s);
    ASSERT_TRUE(status.has_value()) << "vardo did not close itself at " << shutDownTime;
    EXPECT_EQ(*status, 0u);

    EXPECT_TRUE(std::filesystem::is_directory(folder_ / "History"));
    EXPECT_EQ(ReadBytes("Data/任务计划表.tab"), table);
    const std::string tablePath = (folder_ / "Data" / "任务计划表.tab").string();
    EXPECT_EQ(Gb18030ToUtf8(ReadBytes("VARDO.INI")),
              "[START]\r\nchkAutoShutDown=YES\r\nTimePicker=" + shutDownTime + "\r\nLastOrloJM=" +
                  tablePath + "\r\nchkLoadTime=NO\r\nchkMin=NO\r\nchkSaveHis=NO\r\n");
}

}  // namespace
}  // namespace vardo::test
