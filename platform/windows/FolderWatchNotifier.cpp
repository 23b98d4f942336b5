#include "FolderWatchNotifier.h"

#include <QWinEventNotifier>

#include <windows.h>

#include "FolderWatch.h"

namespace vardo::platform {

// The descriptor is the event object's handle, which fits in 32 bits.
FolderWatchNotifier::FolderWatchNotifier(const FolderWatch& watch, std::function<void()> onEvents,
                                         QObject* parent)
    : QObject(parent) {
    if (watch.Descriptor() < 0) return;
    auto notifier = std::make_unique<QWinEventNotifier>(::LongToHandle(watch.Descriptor()));
    connect(notifier.get(), &QWinEventNotifier::activated, this, std::move(onEvents));
    notifier_ = std::move(notifier);
}

FolderWatchNotifier::~FolderWatchNotifier() = default;

}  // namespace vardo::platform
