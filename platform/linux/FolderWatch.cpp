#include "FolderWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vardo::platform {

struct FolderWatch::SystemState {};  // inotify needs nothing beyond its descriptor

FolderWatch::FolderWatch(const std::string& folder) {
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) return;
    constexpr std::uint32_t kMask =
        IN_MOVED_TO | IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_DELETE | IN_MOVED_FROM;
    if (::inotify_add_watch(fd_, folder.c_str(), kMask) < 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

FolderWatch::~FolderWatch() {
    if (fd_ >= 0) ::close(fd_);
}

std::vector<FolderEvent> FolderWatch::ReadEvents() {
    std::vector<FolderEvent> events;
    if (fd_ < 0) return events;
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t length = ::read(fd_, buffer, sizeof buffer);
        if (length < 0 && errno == EINTR) continue;
        if (length <= 0) break;
        for (ssize_t at = 0; at < length;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            const char* name = buffer + at + sizeof event;
            if (event.len > 0) {
                const FolderChange change = (event.mask & IN_MOVED_TO) != 0
                                                ? FolderChange::RenamedInto
                                                : FolderChange::Written;
                events.push_back({std::string(name, ::strnlen(name, event.len)), change});
            }
            at += static_cast<ssize_t>(sizeof event + event.len);
        }
    }
    return events;
}

}  // namespace vardo::platform
