#pragma once

#include <string>
#include <vector>

namespace vardo::platform {

// How a file in a watched folder changed.
enum class FolderChange {
    RenamedInto,  // renamed (moved) into the folder under this name: complete as it stands
    Written,      // created, written, truncated or removed under this name
    // Written in place by a writer that still holds it open; Closed follows once the writer
    // closes it. A watch that can tell of closes reports writes so instead of as Written.
    Writing,
    Closed,  // a writer that held it open for writing closed it
    // No name: changes may have gone untold (the folder was deleted, replaced or moved and is
    // watched again at its path, or as soon as it exists there; or the event queue overflowed).
    Lost,
};

struct FolderEvent {
    std::string name;  // the file's name within the folder; empty for Lost
    FolderChange change;
    friend bool operator==(const FolderEvent&, const FolderEvent&) = default;
};

// Tells of the files of one folder as they change (inotify): whether a file arrived by a rename,
// which a writer does once the file is complete, or is being written in place, and when its
// writer closed it. A watch that cannot be set up has no descriptor and gives no events; the
// caller's polling then has to do.
class FolderWatch {
  public:
    explicit FolderWatch(const std::string& folder);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Readable when events wait; -1 when the folder is not watched.
    int Descriptor() const { return fd_; }
    // The events waiting, oldest first; never blocks. Also watches the folder's path again once
    // the folder is gone, so a caller that lost its folder calls this now and then (each second).
    std::vector<FolderEvent> ReadEvents();

  private:
    void WatchFolder();

    std::string folder_;
    int fd_ = -1;
    int watch_ = -1;  // the folder's watch; -1 while the folder is not watched
};

}  // namespace vardo::platform
