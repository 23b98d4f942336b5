#include "SessionEndSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace vardo {

namespace {

constexpr int kSessionEndSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The write end of the pipe, for the handler (which may use nothing but async-signal-safe calls).
volatile std::sig_atomic_t writeEnd = -1;

extern "C" void WriteSignalNumber(int signalNumber) {
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    // A full pipe already holds a request: the byte may be dropped.
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
    errno = savedErrno;
}

}  // namespace

SessionEndSignals::SessionEndSignals(std::function<void()> onSessionEnd, QObject* parent)
    : QObject(parent), onSessionEnd_(std::move(onSessionEnd)) {
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
    writeEnd = pipe_[1];
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &SessionEndSignals::Drain);
    struct sigaction action {};
    action.sa_handler = WriteSignalNumber;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kSessionEndSignals) sigaction(signalNumber, &action, nullptr);
}

SessionEndSignals::~SessionEndSignals() {
    for (const int signalNumber : kSessionEndSignals) std::signal(signalNumber, SIG_DFL);
    writeEnd = -1;
    notifier_.reset();
    for (const int end : pipe_) {
        if (end >= 0) ::close(end);
    }
}

// Several signals before the loop gets here make one request.
void SessionEndSignals::Drain() {
    unsigned char bytes[16];
    bool requested = false;
    while (::read(pipe_[0], bytes, sizeof bytes) > 0) requested = true;
    if (requested && onSessionEnd_) onSessionEnd_();
}

}  // namespace vardo
