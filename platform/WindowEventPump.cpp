#include "WindowEventPump.h"

#include <QAbstractEventDispatcher>
#include <QSocketNotifier>
#include <chrono>

#include "Windows.h"

namespace vardo::platform {

WindowEventPump::WindowEventPump(Windows& windows, QObject* parent)
    : QObject(parent), windows_(windows) {
    // Asking for the descriptor starts the watch. Without one (Windows, whose event hook is called
    // through the message loop) the events are handled whenever the loop is about to wait.
    const int descriptor = windows_.EventDescriptor();
    if (descriptor >= 0) {
        notifier_ = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
        connect(notifier_.get(), &QSocketNotifier::activated, this, &WindowEventPump::Pump);
    }
    deadline_.setSingleShot(true);
    deadline_.setTimerType(Qt::PreciseTimer);
    connect(&deadline_, &QTimer::timeout, this, &WindowEventPump::Pump);
    // Queries made anywhere read events into Xlib's queue, where the descriptor no longer shows
    // them, and placements asked for anywhere set new deadlines: both are looked at whenever the
    // loop is about to wait.
    if (auto* dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &WindowEventPump::Pump);
    Pump();
}

WindowEventPump::~WindowEventPump() = default;

void WindowEventPump::Pump() {
    windows_.ProcessPendingEvents();
    if (!windows_.Available()) {
        // A lost connection stays readable for ever.
        if (notifier_) notifier_->setEnabled(false);
        deadline_.stop();
        armedFor_.reset();
        return;
    }
    ArmDeadline();
}

void WindowEventPump::ArmDeadline() {
    const auto next = windows_.NextDeadline();
    if (next == armedFor_ && (next.has_value() == deadline_.isActive())) return;
    armedFor_ = next;
    if (!next) {
        deadline_.stop();
        return;
    }
    const auto wait =
        std::chrono::ceil<std::chrono::milliseconds>(*next - std::chrono::steady_clock::now());
    deadline_.start(std::max(wait, std::chrono::milliseconds(0)));
}

}  // namespace vardo::platform
