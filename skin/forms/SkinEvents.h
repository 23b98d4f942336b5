#pragma once

#include <QCoreApplication>
#include <QEvent>

class QObject;
class QPainter;

namespace vardo {

// The skin engine's own messages to the windows and controls it skins, as event types (all lie
// in Qt's user range).
enum SkinEventType {
    kSkinRepaintFrame = 0x3502,     // repaint the skinned frame
    kSkinSwitchOn = 0x3503,         // switch the skin on for this window (posted after creation)
    kSkinPaintSwitch = 0x3506,      // a control's painting switch: Value() > 0 on
    kSkinCaptionAction = 0x3514,    // a caption button's action without built-in meaning
    kSkinVisibilityQuery = 0x3515,  // shows a caption button of visibility code 1000-2000?
    kSkinQuery = 0x3523,            // is this window or control skinned?
    kSkinPaintEdit = 0xBC4A,        // an edit skinner: paint yourself into the given painter
    kSkinPaintBars = 0xBC4B,        // paint into the painter given: a scroll-bar skinner its bars,
                                    // a skinned window its frame
    kSkinPresence = 0xBC4D,         // is the engine here? the key when asked with it, else 1
};

// The second value that makes kSkinPaintEdit and kSkinPaintBars a request, and their answer.
inline constexpr int kOutsidePaintKey = 16802;

// An engine message with its two values and the answer of the window that handled it.
class SkinEvent : public QEvent {
  public:
    SkinEvent(SkinEventType type, int value = 0, int detail = 0)
        : QEvent(static_cast<QEvent::Type>(type)), value_(value), detail_(detail) {}

    int Value() const { return value_; }
    int Detail() const { return detail_; }
    int Result() const { return result_; }
    void SetResult(int result) { result_ = result; }

  private:
    int value_;
    int detail_;
    int result_ = 0;
};

// A request from outside to paint a control into a painter (the window's device context of the
// engine's messages), at the control's own coordinates.
class SkinPaintEvent final : public SkinEvent {
  public:
    SkinPaintEvent(SkinEventType type, QPainter& painter, int key = kOutsidePaintKey)
        : SkinEvent(type, 0, key), painter_(painter) {}

    QPainter& Painter() const { return painter_; }

  private:
    QPainter& painter_;
};

// The painting request of type in event when it carries the key, else null.
inline SkinPaintEvent* OutsidePaintRequest(QEvent* event, SkinEventType type) {
    if (event->type() != static_cast<QEvent::Type>(type)) return nullptr;
    auto* request = dynamic_cast<SkinPaintEvent*>(event);
    return request && request->Detail() == kOutsidePaintKey ? request : nullptr;
}

inline bool IsSkinEvent(const QEvent* event, SkinEventType type) {
    return event->type() == static_cast<QEvent::Type>(type);
}

// Sends an engine message at once and gives the answer (0 when nothing handled it).
inline int SendSkinEvent(QObject* target, SkinEventType type, int value = 0, int detail = 0) {
    SkinEvent event(type, value, detail);
    QCoreApplication::sendEvent(target, &event);
    return event.Result();
}

// Whether a window or control answers the skinned query with 1.
inline bool AnswersSkinned(QObject* target) {
    return SendSkinEvent(target, kSkinQuery) == 1;
}

}  // namespace vardo
