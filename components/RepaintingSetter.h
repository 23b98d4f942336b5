#pragma once

#include <QWidget>

namespace vardo {

// The setter of a property that changes a component's look: stores value and repaints widget,
// but only when the value changed, so setting a property to what it is costs no paint.
template <typename T>
void StoreAndRepaintOnChange(QWidget& widget, T& field, const T& value) {
    if (field == value) return;
    field = value;
    widget.update();
}

}  // namespace vardo
