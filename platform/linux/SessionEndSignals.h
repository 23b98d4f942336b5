#pragma once

#include <signal.h>

#include <QObject>
#include <functional>
#include <iterator>
#include <memory>
#include <utility>

#include "SessionEndRelay.h"

class QSocketNotifier;

namespace vardo {

// SIGTERM, SIGHUP and SIGINT (logout, shutdown, a service stop, Ctrl+C) become a call in the
// event loop: the handler only writes the signal number to a pipe, which a socket notifier reads.
// A signal ignored when the program started (nohup, a background job of a shell) stays ignored.
// One instance at a time; destroying it puts back each signal's disposition as it found it.
// A session end before a receiver is set waits for it (SessionEndRelay).
class SessionEndSignals final : public QObject {
  public:
    explicit SessionEndSignals(QObject* parent = nullptr);
    ~SessionEndSignals() override;
    SessionEndSignals(const SessionEndSignals&) = delete;
    SessionEndSignals& operator=(const SessionEndSignals&) = delete;

    // Who is told of a session end from now on (once per burst of signals).
    void Forward(std::function<void()> onSessionEnd) { relay_.Forward(std::move(onSessionEnd)); }

  private:
    void Drain();

    SessionEndRelay relay_;
    int pipe_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
    static constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
    // Each signal's disposition as found, by its place in kSignals.
    struct sigaction previous_[std::size(kSignals)] = {};
};

}  // namespace vardo
