#pragma once

#include <QObject>
#include <functional>
#include <memory>

namespace vardo::platform {

class FolderWatch;

// Calls back in Qt's event loop when a folder watch has events waiting (its descriptor readable
// on Linux, its event object signalled on Windows). The callback reads them; until it does, it is
// called again. A watch without a descriptor gives no callbacks.
class FolderWatchNotifier final : public QObject {
  public:
    FolderWatchNotifier(const FolderWatch& watch, std::function<void()> onEvents,
                        QObject* parent = nullptr);
    ~FolderWatchNotifier() override;

  private:
    std::unique_ptr<QObject> notifier_;
};

}  // namespace vardo::platform
