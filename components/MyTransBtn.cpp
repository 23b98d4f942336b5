#include "MyTransBtn.h"

namespace vardo {

TMyTransBtn::TMyTransBtn(QWidget* parent) : TransparentButtonBase(parent) {
    QFont captionFont(QStringLiteral("宋体"));
    captionFont.setPointSize(9);
    setFont(captionFont);
    QPalette black = palette();
    black.setColor(QPalette::ButtonText, Qt::black);
    setPalette(black);
    SetCaption(QStringLiteral("Caption"));
}

}  // namespace vardo
