// The real vardo executable on a station of a fleet: its metrics scraped through the real node
// exporter listening on the loopback address, and a timetable renamed into Data/ taking effect
// without a restart.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>

#include "TextCodec.h"
#include "VardoProgramFolder.h"

namespace vardo::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kNodeExporter = "/usr/bin/prometheus-node-exporter";

// A port on 127.0.0.1 that nothing listens on just now.
int FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

// The body of GET /metrics on 127.0.0.1:port; empty when nothing answers.
std::string Scrape(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string response;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string request = "GET /metrics HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
        if (::write(fd, request.data(), request.size()) == static_cast<ssize_t>(request.size())) {
            char buffer[65536];
            for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
                response.append(buffer, static_cast<size_t>(got));
        }
    }
    ::close(fd);
    const size_t body = response.find("\r\n\r\n");
    return body == std::string::npos ? "" : response.substr(body + 4);
}

class VardoFleet : public VardoProgramFolder {
  protected:
    void TearDown() override {
        if (exporter_.processHandle != 0) {
            processes_.TerminateProcess(exporter_.processHandle, 1);
            processes_.CloseHandle(exporter_.processHandle);
        }
        VardoProgramFolder::TearDown();
    }

    // node exporter with only its textfile collector, on the loopback address.
    void StartNodeExporter(const std::filesystem::path& textfiles) {
        ASSERT_TRUE(::access(kNodeExporter, X_OK) == 0)
            << kNodeExporter << " is missing: install the Debian package prometheus-node-exporter";
        port_ = FreeLoopbackPort();
        ASSERT_TRUE(processes_.CreateProcess(
            std::string(kNodeExporter) + " --web.listen-address=127.0.0.1:" +
                std::to_string(port_) + " --collector.disable-defaults --collector.textfile" +
                " --collector.textfile.directory=" + textfiles.string(),
            folder_.string(), true, exporter_));
    }

    // Scrapes until the text holds `wanted`, for at most `limit`; returns the last scrape.
    std::string ScrapeUntil(const std::string& wanted, std::chrono::seconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        std::string metrics;
        while (std::chrono::steady_clock::now() < deadline) {
            metrics = Scrape(port_);
            if (metrics.find(wanted) != std::string::npos) break;
            std::this_thread::sleep_for(200ms);
        }
        return metrics;
    }

    std::string History() const {
        char day[16];
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        std::strftime(day, sizeof day, "%Y%m%d", &local);
        return Gb18030ToUtf8(
            ReadBytes(std::filesystem::path("History") / (day + std::string(".txt"))));
    }

    // Whether the day's history file holds `text` at least `count` times within `limit`.
    bool WaitForHistory(const std::string& text, int count, std::chrono::seconds limit) const {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            const std::string history = History();
            int found = 0;
            for (size_t at = history.find(text); at != std::string::npos;
                 at = history.find(text, at + 1))
                ++found;
            if (found >= count) return true;
            std::this_thread::sleep_for(100ms);
        }
        return false;
    }

    platform::ProcessInformation exporter_;
    int port_ = 0;
};

TEST_F(VardoFleet, MetricsScrapedThroughNodeExporter_AndADroppedTimetableRuns) {
    const std::filesystem::path textfiles = folder_ / "textfile";
    std::filesystem::create_directories(textfiles);
    std::filesystem::create_directories(folder_ / "Data");
    WriteBytes("VARDO.INI", "[START]\r\nMetricsDir=" + textfiles.string() +
                                "\r\nWatchData=YES\r\nchkSaveHis=YES\r\nchkShutTask=YES\r\n");
    StartVardo();
    ASSERT_TRUE(WaitForMainWindow(60s)) << "vardo's main window did not show";
    StartNodeExporter(textfiles);

    std::string metrics = ScrapeUntil("vardo_info{", 60s);
    // node exporter gives the labels in alphabetical order.
    ASSERT_NE(metrics.find("vardo_info{station=\""), std::string::npos) << metrics;
    EXPECT_NE(metrics.find("\",version=\"" VARDO_VERSION "\"} 1\n"), std::string::npos);
    EXPECT_NE(metrics.find("vardo_task_starts_total 0\n"), std::string::npos);
    EXPECT_NE(metrics.find("node_textfile_scrape_error 0\n"), std::string::npos);

    // A timetable renamed into Data/ with a task starting a few seconds from now. When the
    // program took it too late for that second, it gets a later one.
    std::string start;
    for (int attempt = 1, leadSeconds = 3; attempt <= 4; ++attempt, leadSeconds *= 2) {
        const std::time_t first = std::time(nullptr) + leadSeconds;
        start = LocalTimeText(first, 0, "%02d:%02d:%02d");
        WriteBytes("Data/.incoming.tmp", Utf8ToGb18030("  1^^/bin/sleep^^10^^Fleet^^" + start +
                                                       "^^^^^^否^^否,无^^1^^^^^^^^^^^^^^\r\n"));
        std::filesystem::rename(folder_ / "Data/.incoming.tmp", folder_ / "Data/任务计划表.tab");
        ASSERT_TRUE(WaitForHistory(
            " 装入任务计划表: 【" + (folder_ / "Data/任务计划表.tab").string(), attempt, 60s))
            << History();
        if (std::time(nullptr) < first) break;
    }

    const std::string running =
        "vardo_task_running{application=\"/bin/sleep\",description=\"Fleet\",row=\"1\"} 1\n";
    metrics = ScrapeUntil(running, 60s);
    EXPECT_NE(metrics.find(running), std::string::npos) << metrics;
    EXPECT_EQ(metrics.find("vardo_task_starts_total 0\n"), std::string::npos);
    EXPECT_TRUE(WaitForHistory(start + " 启动任务: 【/bin/sleep 】  Fleet", 1, 60s)) << History();
}

}  // namespace
}  // namespace vardo::test
