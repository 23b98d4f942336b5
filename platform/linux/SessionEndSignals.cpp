#include "SessionEndSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace vardo {

namespace {

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

SessionEndSignals::SessionEndSignals(QObject* parent) : QObject(parent) {
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
    writeEnd = pipe_[1];
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &SessionEndSignals::Drain);
    struct sigaction action {};
    action.sa_handler = WriteSignalNumber;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], nullptr, &previous_[i]);
        if (previous_[i].sa_handler == SIG_IGN) continue;
        sigaction(kSignals[i], &action, nullptr);
    }
}

SessionEndSignals::~SessionEndSignals() {
    if (notifier_) {
        for (size_t i = 0; i < std::size(kSignals); ++i)
            sigaction(kSignals[i], &previous_[i], nullptr);
    }
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
    if (requested) Tell();
}

}  // namespace vardo
