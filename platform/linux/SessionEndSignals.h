#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace vardo {

// SIGTERM, SIGHUP and SIGINT (logout, shutdown, a service stop, Ctrl+C) become a call in the
// event loop: the handler only writes the signal number to a pipe, which a socket notifier reads.
// One instance at a time; the handlers go back to the default when it is destroyed.
class SessionEndSignals final : public QObject {
  public:
    explicit SessionEndSignals(std::function<void()> onSessionEnd, QObject* parent = nullptr);
    ~SessionEndSignals() override;
    SessionEndSignals(const SessionEndSignals&) = delete;
    SessionEndSignals& operator=(const SessionEndSignals&) = delete;

  private:
    void Drain();

    std::function<void()> onSessionEnd_;
    int pipe_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace vardo
