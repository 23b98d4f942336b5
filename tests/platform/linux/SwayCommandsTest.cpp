#include "SwayCommands.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <thread>

namespace vardo::platform {
namespace {

TEST(SwayCommands, PlacementCommand_FloatsUnframesSizesThenMovesTheXWindowById) {
    EXPECT_EQ(SwayPlacementCommand(4194316, Rect{1920, 0, 1920, 1080}, true),
              "[id=4194316] floating enable, border none, resize set 1920 px 1080 px, "
              "move absolute position 1920 px 0 px");
    EXPECT_EQ(SwayPlacementCommand(77, Rect{-5, 30, 0, 0}, false),
              "[id=77] floating enable, border none, move absolute position -5 px 30 px");
}

TEST(SwayCommands, Answers_EveryPartMustSucceed_FirstErrorIsGiven) {
    EXPECT_EQ(SwayCommandError(R"([ { "success": true }, { "success": true } ])"), std::nullopt);
    EXPECT_EQ(SwayCommandError(
                  R"([{"success":true},{"success":false,"parse_error":false,"error":"No matching node."}])"),
              "No matching node.");
    EXPECT_EQ(SwayCommandError(R"([ { "success": false } ])"), "the command failed");
    // Not an answer to a command at all.
    EXPECT_TRUE(SwayCommandError("").has_value());
    EXPECT_TRUE(SwayCommandError(R"({ "error": "x")").has_value());
}

// A one-shot IPC server on a real socket: takes one message and answers it.
class OneAnswerServer {
  public:
    explicit OneAnswerServer(std::string answer)
        : path_(std::filesystem::temp_directory_path() /
                ("vardo-sway-test-" + std::to_string(getpid()) + ".sock")) {
        std::filesystem::remove(path_);
        listener_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path_.c_str(), sizeof address.sun_path - 1);
        EXPECT_EQ(bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(listen(listener_, 1), 0);
        thread_ = std::thread([this, answer = std::move(answer)] { Serve(answer); });
    }
    ~OneAnswerServer() {
        Join();
        close(listener_);
        std::filesystem::remove(path_);
    }
    std::string Path() const { return path_; }
    void Join() {
        if (thread_.joinable()) thread_.join();
    }
    // The message received: its type and payload.
    std::uint32_t type = 99;
    std::string payload;

  private:
    void Serve(const std::string& answer) {
        const int client = accept(listener_, nullptr, nullptr);
        if (client < 0) return;
        char header[14];
        if (recv(client, header, sizeof header, MSG_WAITALL) == sizeof header &&
            std::memcmp(header, "i3-ipc", 6) == 0) {
            std::uint32_t length = 0;
            std::memcpy(&length, header + 6, 4);
            std::memcpy(&type, header + 10, 4);
            payload.resize(length);
            recv(client, payload.data(), length, MSG_WAITALL);
            std::string reply(header, 6);
            const std::uint32_t replyHeader[] = {static_cast<std::uint32_t>(answer.size()), 0};
            reply.append(reinterpret_cast<const char*>(replyHeader), sizeof replyHeader);
            reply += answer;
            send(client, reply.data(), reply.size(), 0);
        }
        close(client);
    }

    std::filesystem::path path_;
    int listener_ = -1;
    std::thread thread_;
};

// What the server got, and what RunSwayCommand made of its answer.
struct Exchange {
    std::optional<std::string> error;
    std::uint32_t type;
    std::string payload;
};

Exchange RunAgainst(const std::string& answer, const std::string& command) {
    OneAnswerServer server(answer);
    const auto error = RunSwayCommand(server.Path(), command);
    server.Join();
    return {error, server.type, server.payload};
}

TEST(SwayCommands, RunCommand_SendsARunCommandMessage_ReportsTheAnswer) {
    const Exchange done = RunAgainst(R"([ { "success": true } ])", "[id=5] border none");
    EXPECT_EQ(done.error, std::nullopt);
    EXPECT_EQ(done.type, 0u);
    EXPECT_EQ(done.payload, "[id=5] border none");

    const Exchange refused =
        RunAgainst(R"([ { "success": false, "error": "No matching node." } ])", "[id=6] border none");
    EXPECT_EQ(refused.error, "No matching node.");
}

TEST(SwayCommands, RunCommand_NoSocket_IsAnErrorNotAHang) {
    const auto error = RunSwayCommand("/nonexistent/sway-ipc.sock", "border none");
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("cannot connect"), std::string::npos) << *error;
    EXPECT_TRUE(RunSwayCommand("", "border none").has_value());
}

}  // namespace
}  // namespace vardo::platform
