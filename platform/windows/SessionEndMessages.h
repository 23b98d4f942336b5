#pragma once

#include <QAbstractNativeEventFilter>

#include "SessionEndRelay.h"

namespace vardo {

// The end of the Windows session (logoff, shutdown, restart) becomes a call: WM_QUERYENDSESSION
// is answered yes, and WM_ENDSESSION that confirms the end calls the receiver before the message
// returns, since the system may end the process any time after. The messages come to each of
// the program's top-level windows; the receiver is called once. One instance at a time, made
// while the QApplication exists. The end is told to the receiver (Forward) or kept for it.
class SessionEndMessages final : public QAbstractNativeEventFilter, public SessionEndRelay {
  public:
    SessionEndMessages();
    ~SessionEndMessages() override;
    SessionEndMessages(const SessionEndMessages&) = delete;
    SessionEndMessages& operator=(const SessionEndMessages&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    bool ended_ = false;  // the session's end was confirmed: later copies of the message are void
};

}  // namespace vardo
