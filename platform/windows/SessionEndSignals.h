#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <functional>

namespace vardo {

// The end of the Windows session (logoff, shutdown) becomes the same call in the event loop that
// SIGTERM makes on Linux: WM_ENDSESSION, sent to the program's top-level windows once the session
// has agreed to end, calls onSessionEnd once, before the handler returns (the process is ended
// soon after). WM_QUERYENDSESSION is left to Qt, which agrees. One instance at a time.
class SessionEndSignals final : public QObject, public QAbstractNativeEventFilter {
  public:
    explicit SessionEndSignals(std::function<void()> onSessionEnd, QObject* parent = nullptr);
    ~SessionEndSignals() override;
    SessionEndSignals(const SessionEndSignals&) = delete;
    SessionEndSignals& operator=(const SessionEndSignals&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    std::function<void()> onSessionEnd_;
    bool ended_ = false;
};

}  // namespace vardo
