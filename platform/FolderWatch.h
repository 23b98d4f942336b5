#pragma once

#include <memory>
#include <string>
#include <vector>

namespace vardo::platform {

// How a file in a watched folder changed.
enum class FolderChange {
    RenamedInto,  // renamed (moved) into the folder under this name: complete as it stands
    Written,      // created, written, truncated or removed under this name
};

struct FolderEvent {
    std::string name;  // the file's name within the folder
    FolderChange change;
};

// Tells of the files of one folder as they change (inotify, ReadDirectoryChangesW): whether a file
// arrived by a rename, which a writer does once the file is complete, or is being written in
// place, which a reader cannot tell from the file alone. A folder that cannot be watched has no
// descriptor and gives no events; the caller's polling then has to do.
class FolderWatch {
  public:
    explicit FolderWatch(const std::string& folder);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Readable when events wait; -1 when the folder is not watched. On Windows it is the handle
    // of an event object (handles fit in 32 bits) that is signalled when events wait.
    int Descriptor() const { return fd_; }
    // The events waiting, oldest first; never blocks.
    std::vector<FolderEvent> ReadEvents();

  private:
    struct SystemState;  // what the system's watch needs beyond the descriptor

    int fd_ = -1;
    std::unique_ptr<SystemState> system_;
};

}  // namespace vardo::platform
