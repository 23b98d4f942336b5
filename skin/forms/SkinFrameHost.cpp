#include "SkinFrameHost.h"

namespace vardo {

void TNCObject::MouseDown() {
    TNCObject* current = form_.CurrentObject();
    if (current && current != this) current->MouseLeave();
    if (!Enabled) return;
    form_.SetCurrentObject(this);
    State = sPressed;
    Paint();
}

void TNCObject::MouseUp() {
    if (!Enabled) return;
    State = sHot;
    Paint();
}

void TNCObject::MouseEnter() {
    TNCObject* current = form_.CurrentObject();
    if (current && current != this) current->MouseLeave();
    const TNCObject* pressed = form_.PressedObject();
    if (!Enabled || (pressed && pressed != this)) return;
    form_.SetCurrentObject(this);
    State = sHot;
    Paint();
}

void TNCObject::MouseLeave() {
    if (!Enabled) return;
    form_.SetCurrentObject(nullptr);
    State = sNormal;
    Paint();
}

}  // namespace vardo
