#include "FolderWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vardo::platform {

namespace {

constexpr std::uint32_t kFolderGone = IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF;

FolderChange ChangeOf(std::uint32_t mask) {
    if ((mask & IN_MOVED_TO) != 0) return FolderChange::RenamedInto;
    if ((mask & IN_MODIFY) != 0) return FolderChange::Writing;
    if ((mask & IN_CLOSE_WRITE) != 0) return FolderChange::Closed;
    return FolderChange::Written;
}

}  // namespace

FolderWatch::FolderWatch(const std::string& folder) : folder_(folder) {
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) return;
    WatchFolder();
    if (watch_ < 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

FolderWatch::~FolderWatch() {
    if (fd_ >= 0) ::close(fd_);
}

void FolderWatch::WatchFolder() {
    constexpr std::uint32_t kMask = IN_MOVED_TO | IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE |
                                    IN_DELETE | IN_MOVED_FROM | IN_DELETE_SELF | IN_MOVE_SELF |
                                    IN_ONLYDIR;
    watch_ = ::inotify_add_watch(fd_, folder_.c_str(), kMask);
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
            at += static_cast<ssize_t>(sizeof event + event.len);
            if ((event.mask & IN_Q_OVERFLOW) != 0) {
                events.push_back({{}, FolderChange::Lost});
            } else if (event.wd != watch_) {
                // The end of a watch already given up.
            } else if ((event.mask & kFolderGone) != 0) {
                // A folder moved away keeps its watch, which would follow it: the path is what
                // counts, so the watch goes and the path is watched anew.
                if ((event.mask & IN_IGNORED) == 0) ::inotify_rm_watch(fd_, watch_);
                watch_ = -1;
                events.push_back({{}, FolderChange::Lost});
            } else if (event.len > 0) {
                events.push_back(
                    {std::string(name, ::strnlen(name, event.len)), ChangeOf(event.mask)});
            }
        }
    }
    if (watch_ < 0) WatchFolder();
    return events;
}

}  // namespace vardo::platform
