#include "WindowManagerMoves.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace vardo {

namespace {

// The directions of _NET_WM_MOVERESIZE that hand the window to the keyboard, and the source
// indication of an ordinary application.
constexpr uint32_t kSizeKeyboard = 9;
constexpr uint32_t kMoveKeyboard = 10;
constexpr uint32_t kSourceApplication = 1;

template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

bool SendMoveResize(QWidget& window, uint32_t direction) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !window.isWindow() || !window.windowHandle()) return false;
    xcb_connection_t* connection = x11->connection();
    const auto client = static_cast<xcb_window_t>(window.winId());

    static constexpr char kName[] = "_NET_WM_MOVERESIZE";
    const ReplyPointer<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName),
                              nullptr),
        &std::free);
    const ReplyPointer<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, client), nullptr),
        &std::free);
    if (!atom || !geometry) return false;

    // The pointer position is not used for the keyboard directions; the window's centre is sent.
    const QPoint centre = window.mapToGlobal(window.rect().center());
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = client;
    message.type = atom->atom;
    message.data.data32[0] = static_cast<uint32_t>(centre.x());
    message.data.data32[1] = static_cast<uint32_t>(centre.y());
    message.data.data32[2] = direction;
    message.data.data32[3] = 0;  // no button: the keyboard drives it
    message.data.data32[4] = kSourceApplication;
    xcb_send_event(connection, 0, geometry->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    return true;
}

}  // namespace

bool StartKeyboardMove(QWidget& window) {
    return SendMoveResize(window, kMoveKeyboard);
}

bool StartKeyboardResize(QWidget& window) {
    return SendMoveResize(window, kSizeKeyboard);
}

}  // namespace vardo
