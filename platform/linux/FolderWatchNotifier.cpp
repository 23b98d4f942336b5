#include "FolderWatchNotifier.h"

#include <QSocketNotifier>

#include "FolderWatch.h"

namespace vardo::platform {

FolderWatchNotifier::FolderWatchNotifier(const FolderWatch& watch, std::function<void()> onEvents,
                                         QObject* parent)
    : QObject(parent) {
    if (watch.Descriptor() < 0) return;
    auto notifier = std::make_unique<QSocketNotifier>(watch.Descriptor(), QSocketNotifier::Read);
    connect(notifier.get(), &QSocketNotifier::activated, this, std::move(onEvents));
    notifier_ = std::move(notifier);
}

FolderWatchNotifier::~FolderWatchNotifier() = default;

}  // namespace vardo::platform
