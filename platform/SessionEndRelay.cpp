#include "SessionEndRelay.h"

#include <QCoreApplication>
#include <utility>

namespace vardo {

void SessionEndRelay::Forward(std::function<void()> onSessionEnd) {
    onSessionEnd_ = std::move(onSessionEnd);
    if (std::exchange(pending_, false)) Tell();
}

void SessionEndRelay::Tell() {
    if (onSessionEnd_) {
        onSessionEnd_();
        return;
    }
    pending_ = true;
    QCoreApplication::exit(0);
}

}  // namespace vardo
