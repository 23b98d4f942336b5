// Starts the real vardo executable in a temporary program folder on the test X server and checks
// what it leaves behind after closing itself at its automatic shutdown time.
#include <chrono>
#include <thread>

#include "TextCodec.h"
#include "VardoProgramFolder.h"
#include "X11Windows.h"

namespace vardo::test {
namespace {

using namespace std::chrono_literals;
using VardoExecutable = VardoProgramFolder;

bool HasVardoWindow(platform::X11Windows& windows, int pid) {
    for (const platform::TopLevelWindow& window : windows.EnumWindows()) {
        if (window.processId == pid && window.caption == "Vardo") return true;
    }
    return false;
}

TEST_F(VardoExecutable, AutomaticShutDown_ClosesThroughTheOrdinaryPathAndLeavesItsFiles) {
    const std::string table =
        Utf8ToGb18030("  1^^/bin/true^^^^晨间节目^^^^^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n");
    WriteBytes("Data/任务计划表.tab", table);
    const std::string shutDownTime = LocalTimeText(std::time(nullptr), 4, "%d:%02d:%02d");
    WriteBytes("VARDO.INI",
               "[START]\r\nchkAutoShutDown=YES\r\nTimePicker=" + shutDownTime + "\r\n");
    StartVardo();

    platform::X11Windows windows(display_);
    ASSERT_TRUE(windows.Available());
    bool windowSeen = false;
    for (int attempt = 0; attempt < 100 && !windowSeen; ++attempt) {
        windowSeen = HasVardoWindow(windows, info_.processId);
        if (!windowSeen) std::this_thread::sleep_for(30ms);
    }
    EXPECT_TRUE(windowSeen);

    const std::optional<std::uint32_t> status = WaitForExit(15s);
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
