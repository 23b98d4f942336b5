#include "FolderWatch.h"

#include <windows.h>

#include "Utf8Path.h"
#include "WideText.h"

namespace vardo::platform {

// The folder's handle and the one read that is always pending on it.
struct FolderWatch::SystemState {
    HANDLE folder = INVALID_HANDLE_VALUE;
    HANDLE ready = nullptr;  // signalled when the pending read has completed
    OVERLAPPED overlapped{};
    alignas(DWORD) char buffer[16 * 1024];

    bool StartRead() {
        ::ResetEvent(ready);
        overlapped = {};
        overlapped.hEvent = ready;
        constexpr DWORD kFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE |
                                  FILE_NOTIFY_CHANGE_SIZE;
        return ::ReadDirectoryChangesW(folder, buffer, sizeof buffer, FALSE, kFilter, nullptr,
                                       &overlapped, nullptr) != 0;
    }
};

FolderWatch::FolderWatch(const std::string& folder) {
    auto state = std::make_unique<SystemState>();
    state->folder = ::CreateFileW(Utf8Path(folder).c_str(), FILE_LIST_DIRECTORY,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED,
                                  nullptr);
    if (state->folder == INVALID_HANDLE_VALUE) return;
    state->ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!state->ready || !state->StartRead()) {
        if (state->ready) ::CloseHandle(state->ready);
        ::CloseHandle(state->folder);
        return;
    }
    fd_ = static_cast<int>(::HandleToLong(state->ready));
    system_ = std::move(state);
}

FolderWatch::~FolderWatch() {
    if (!system_) return;
    // The system writes into the buffer until the cancelled read has completed.
    ::CancelIo(system_->folder);
    DWORD ignored = 0;
    ::GetOverlappedResult(system_->folder, &system_->overlapped, &ignored, TRUE);
    ::CloseHandle(system_->ready);
    ::CloseHandle(system_->folder);
}

// A name that arrives by a rename within the folder (how a writer publishes a complete file)
// comes as its new name; everything else, a file moved in from another folder included, counts
// as written in place and must settle first.
std::vector<FolderEvent> FolderWatch::ReadEvents() {
    std::vector<FolderEvent> events;
    if (!system_) return events;
    DWORD length = 0;
    if (!::GetOverlappedResult(system_->folder, &system_->overlapped, &length, FALSE)) return events;
    // length 0: more changed than the buffer held; the caller's polling finds them.
    for (DWORD at = 0; length > 0 && at < length;) {
        const auto* entry = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(system_->buffer + at);
        const std::wstring_view name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
        const FolderChange change = entry->Action == FILE_ACTION_RENAMED_NEW_NAME
                                        ? FolderChange::RenamedInto
                                        : FolderChange::Written;
        events.push_back({Utf8Text(name), change});
        if (entry->NextEntryOffset == 0) break;
        at += entry->NextEntryOffset;
    }
    if (!system_->StartRead()) {
        // The folder went away: no more events, the polling has to do.
        fd_ = -1;
    }
    return events;
}

}  // namespace vardo::platform
