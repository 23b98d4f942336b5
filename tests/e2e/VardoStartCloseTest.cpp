// Starts the real vardo executable in a temporary program folder on the test X server and checks
// what it leaves behind after closing itself at its automatic shutdown time.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "TextCodec.h"
#include "X11Windows.h"

extern char** environ;

namespace vardo::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// H:mm:ss of the local time `ahead` from now.
std::string LocalTimeTextIn(std::chrono::seconds ahead) {
    const std::time_t when = std::time(nullptr) + ahead.count();
    std::tm local{};
    localtime_r(&when, &local);
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

// A running child whose process is always reaped: killed if the test ends early.
class Child {
  public:
    Child(const std::string& program, const std::vector<std::string>& environment) {
        std::vector<std::string> env = environment;
        for (char** entry = environ; *entry; ++entry) env.emplace_back(*entry);
        std::vector<char*> envp;
        for (std::string& entry : env) envp.push_back(entry.data());
        envp.push_back(nullptr);
        std::string path = program;
        char* argv[] = {path.data(), nullptr};
        if (posix_spawn(&pid_, path.c_str(), nullptr, nullptr, argv, envp.data()) != 0) pid_ = -1;
    }
    ~Child() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    int pid() const { return pid_; }

    // The exit status, or nothing when the process is still running after `limit`.
    std::optional<int> WaitFor(std::chrono::seconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(20ms);
        }
        return std::nullopt;
    }

  private:
    pid_t pid_ = -1;
};

bool HasVardoWindow(platform::X11Windows& windows, int pid) {
    for (const platform::TopLevelWindow& window : windows.EnumWindows()) {
        if (window.processId == pid && window.caption == "Vardo") return true;
    }
    return false;
}

TEST(VardoExecutable, AutomaticShutDown_ClosesThroughTheOrdinaryPathAndLeavesItsFiles) {
    const char* display = std::getenv("VARDO_TEST_DISPLAY_WM");
    if (!display || !*display) GTEST_SKIP() << "VARDO_TEST_DISPLAY_WM is not set";

    char folderTemplate[] = "/tmp/vardo-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    const fs::path folder = folderTemplate;
    fs::copy_file(VARDO_EXECUTABLE, folder / "vardo");
    const std::string table =
        Utf8ToGb18030("  1^^/bin/true^^^^晨间节目^^^^^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n");
    WriteBytes(folder / "Data" / "任务计划表.tab", table);
    const std::string shutDownTime = LocalTimeTextIn(4s);
    WriteBytes(folder / "VARDO.INI",
               "[START]\r\nchkAutoShutDown=YES\r\nTimePicker=" + shutDownTime + "\r\n");

    Child vardo((folder / "vardo").string(),
                {std::string("DISPLAY=") + display, "QT_QPA_PLATFORM=xcb",
                 "XDG_CONFIG_HOME=" + (folder / "config").string()});
    ASSERT_GT(vardo.pid(), 0);

    platform::X11Windows windows(display);
    ASSERT_TRUE(windows.Available());
    bool windowSeen = false;
    for (int attempt = 0; attempt < 100 && !windowSeen; ++attempt) {
        windowSeen = HasVardoWindow(windows, vardo.pid());
        if (!windowSeen) std::this_thread::sleep_for(30ms);
    }
    EXPECT_TRUE(windowSeen);

    const std::optional<int> status = vardo.WaitFor(15s);
    ASSERT_TRUE(status.has_value()) << "vardo did not close itself at " << shutDownTime;
    EXPECT_EQ(*status, 0);

    EXPECT_TRUE(fs::is_directory(folder / "History"));
    EXPECT_EQ(ReadBytes(folder / "Data" / "任务计划表.tab"), table);
    const std::string tablePath = (folder / "Data" / "任务计划表.tab").string();
    EXPECT_EQ(Gb18030ToUtf8(ReadBytes(folder / "VARDO.INI")),
              "[START]\r\nchkAutoShutDown=YES\r\nTimePicker=" + shutDownTime + "\r\nLastOrloJM=" +
                  tablePath + "\r\nchkLoadTime=NO\r\nchkMin=NO\r\nchkSaveHis=NO\r\n");
    fs::remove_all(folder);
}

}  // namespace
}  // namespace vardo::test
