#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <memory>
#include <optional>

class QSocketNotifier;

namespace vardo::platform {

class Windows;

// Runs the event side of a Windows object in Qt's event loop: its events are handled as soon as
// its descriptor becomes readable (or Xlib has already read them while answering a query), and
// its placement steps when they fall due. An object without a descriptor has its events handled
// whenever the loop is about to wait.
class WindowEventPump final : public QObject {
  public:
    explicit WindowEventPump(Windows& windows, QObject* parent = nullptr);
    ~WindowEventPump() override;

  private:
    void Pump();
    void ArmDeadline();

    Windows& windows_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer deadline_;
    std::optional<std::chrono::steady_clock::time_point> armedFor_;
};

}  // namespace vardo::platform
