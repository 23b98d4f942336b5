#include "MyTransBtnOld.h"

#include <QPointer>

namespace vardo {

TTransparentButton::TTransparentButton(QWidget* parent) : TransparentButtonBase(parent) {}

void TTransparentButton::Click() {
    const QColor fontColor = palette().color(QPalette::ButtonText);
    SetDown(false);
    ClearPressedLook();
    // Looks released while the handler runs.
    repaint();
    const QPointer<TTransparentButton> alive(this);
    emit clicked();
    if (!alive || palette().color(QPalette::ButtonText) == fontColor) return;
    QPalette restored = palette();
    restored.setColor(QPalette::ButtonText, fontColor);
    setPalette(restored);
}

}  // namespace vardo
