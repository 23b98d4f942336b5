#include "SessionEndSignals.h"

#include <windows.h>

#include <QCoreApplication>

namespace vardo {

SessionEndSignals::SessionEndSignals(std::function<void()> onSessionEnd, QObject* parent)
    : QObject(parent), onSessionEnd_(std::move(onSessionEnd)) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

SessionEndSignals::~SessionEndSignals() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

// Every top-level window gets the message; the close path runs for the first. The message is
// passed on, so Qt ends its own session handling as usual.
bool SessionEndSignals::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "windows_generic_MSG") return false;
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_ENDSESSION && msg->wParam != FALSE && !ended_) {
        ended_ = true;
        if (onSessionEnd_) onSessionEnd_();
    }
    return false;
}

}  // namespace vardo
