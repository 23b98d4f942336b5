#include "SessionEndMessages.h"

#include <QCoreApplication>
#include <utility>

#include <windows.h>

namespace vardo {

SessionEndMessages::SessionEndMessages() {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

SessionEndMessages::~SessionEndMessages() {
    if (auto* application = QCoreApplication::instance())
        application->removeNativeEventFilter(this);
}

bool SessionEndMessages::nativeEventFilter(const QByteArray& eventType, void* message,
                                           qintptr* result) {
    if (eventType != "windows_generic_MSG") return false;
    const MSG& msg = *static_cast<const MSG*>(message);
    switch (msg.message) {
        case WM_QUERYENDSESSION:
            // The program has nothing to ask the operator: the session may end.
            *result = TRUE;
            return true;
        case WM_ENDSESSION:
            // wParam false: another program refused, and the session goes on.
            if (msg.wParam && !std::exchange(ended_, true)) Tell();
            *result = 0;
            return true;
        default:
            return false;
    }
}

}  // namespace vardo
