#pragma once

#include <QAbstractNativeEventFilter>
#include <functional>
#include <utility>

#include "SessionEndRelay.h"

namespace vardo {

// The end of the Windows session (logoff, shutdown, restart) becomes a call: WM_QUERYENDSESSION
// is answered yes, and WM_ENDSESSION that confirms the end calls the receiver before the message
// returns, since the system may end the process any time after. The messages come to each of
// the program's top-level windows; the receiver is called once. One instance at a time, made
// while the QApplication exists. A session end before a receiver is set waits for it
// (SessionEndRelay).
class SessionEndMessages final : public QAbstractNativeEventFilter {
  public:
    SessionEndMessages();
    ~SessionEndMessages() override;
    SessionEndMessages(const SessionEndMessages&) = delete;
    SessionEndMessages& operator=(const SessionEndMessages&) = delete;

    // Who is told of the session's end from now on.
    void Forward(std::function<void()> onSessionEnd) { relay_.Forward(std::move(onSessionEnd)); }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    SessionEndRelay relay_;
    bool ended_ = false;  // the session's end was confirmed: later copies of the message are void
};

}  // namespace vardo
