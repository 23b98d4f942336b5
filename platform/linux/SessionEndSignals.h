#pragma once

#include <signal.h>

#include <QObject>
#include <functional>
#include <iterator>
#include <memory>

#include "SessionEndRelay.h"

class QSocketNotifier;

namespace vardo {

// SIGTERM, SIGHUP and SIGINT (logout, shutdown, a service stop, Ctrl+C) become a call in the
// event loop: the handler only writes the signal number to a pipe, which a socket notifier reads.
// A signal ignored when the program started (nohup, a background job of a shell) stays ignored.
// One instance at a time; destroying it puts back each signal's disposition as it found it.
// A burst of signals is one session end, told to the receiver (Forward) or kept for it.
class SessionEndSignals final : public QObject, public SessionEndRelay {
  public:
    explicit SessionEndSignals(QObject* parent = nullptr);
    ~SessionEndSignals() override;
    SessionEndSignals(const SessionEndSignals&) = delete;
    SessionEndSignals& operator=(const SessionEndSignals&) = delete;

  private:
    void Drain();

    int pipe_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
    static constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
    // Each signal's disposition as found, by its place in kSignals.
    struct sigaction previous_[std::size(kSignals)] = {};
};

}  // namespace vardo
