#include "SwayCommands.h"

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <sstream>

namespace vardo::platform {

namespace {

// The IPC's framing: a magic string, the payload's length and the message type, in the machine's
// byte order, then the payload.
constexpr char kMagic[] = {'i', '3', '-', 'i', 'p', 'c'};
constexpr std::uint32_t kRunCommand = 0;
constexpr std::size_t kHeaderSize = sizeof kMagic + 2 * sizeof(std::uint32_t);
// An answer that does not come within this is not waited for: the placement's retries ask again.
constexpr int kAnswerTimeoutMs = 500;

class Socket {
  public:
    Socket() : fd_(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    ~Socket() {
        if (fd_ >= 0) close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

  private:
    int fd_;
};

bool WriteAll(int fd, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

bool ReadAll(int fd, char* into, std::size_t size) {
    for (std::size_t done = 0; done < size;) {
        const ssize_t got = read(fd, into + done, size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

// The JSON text after `key`'s colon, blanks skipped; npos when the key is not there.
std::size_t ValueAfter(const std::string& json, const std::string& key, std::size_t from) {
    const std::size_t found = json.find("\"" + key + "\"", from);
    if (found == std::string::npos) return found;
    const std::size_t colon = json.find(':', found);
    if (colon == std::string::npos) return colon;
    return json.find_first_not_of(" \t\r\n", colon + 1);
}

}  // namespace

std::string SwayPlacementCommand(WindowHandle window, const Rect& rect, bool resize) {
    std::ostringstream command;
    command << "[id=" << window << "] floating enable, border none";
    if (resize) command << ", resize set " << rect.width << " px " << rect.height << " px";
    command << ", move absolute position " << rect.left << " px " << rect.top << " px";
    return command.str();
}

std::optional<std::string> SwayCommandError(const std::string& answer) {
    bool anyResult = false;
    for (std::size_t at = 0; (at = ValueAfter(answer, "success", at)) != std::string::npos;) {
        anyResult = true;
        if (answer.compare(at, 4, "true") == 0) continue;
        const std::size_t error = ValueAfter(answer, "error", at);
        if (error == std::string::npos || answer[error] != '"') return "the command failed";
        const std::size_t end = answer.find('"', error + 1);
        return answer.substr(error + 1, end == std::string::npos ? end : end - error - 1);
    }
    if (!anyResult) return "sway gave no result: " + answer;
    return std::nullopt;
}

std::optional<std::string> RunSwayCommand(const std::string& socketPath,
                                          const std::string& command) {
    sockaddr_un address{};
    if (socketPath.empty() || socketPath.size() >= sizeof address.sun_path)
        return "no usable IPC socket path";
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size());
    Socket socket;
    if (socket.fd() < 0) return std::string("socket: ") + std::strerror(errno);
    const timeval timeout{0, kAnswerTimeoutMs * 1000};
    setsockopt(socket.fd(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    setsockopt(socket.fd(), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    if (connect(socket.fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return "cannot connect to " + socketPath + ": " + std::strerror(errno);

    std::string message(kMagic, sizeof kMagic);
    const std::uint32_t header[] = {static_cast<std::uint32_t>(command.size()), kRunCommand};
    message.append(reinterpret_cast<const char*>(header), sizeof header);
    message += command;
    if (!WriteAll(socket.fd(), message)) return "the command could not be sent";

    char answerHeader[kHeaderSize];
    if (!ReadAll(socket.fd(), answerHeader, sizeof answerHeader) ||
        std::memcmp(answerHeader, kMagic, sizeof kMagic) != 0)
        return "no answer from sway";
    std::uint32_t length = 0;
    std::memcpy(&length, answerHeader + sizeof kMagic, sizeof length);
    std::string answer(length, '\0');
    if (!ReadAll(socket.fd(), answer.data(), answer.size())) return "sway's answer was cut off";
    return SwayCommandError(answer);
}

}  // namespace vardo::platform
