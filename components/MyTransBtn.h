#pragma once

#include "TransparentButtonBase.h"

namespace vardo {

// The twin of TTransparentButton: black 9-point "宋体" caption "Caption" by default, a popup menu
// that opens on any mouse button, and a click that only fires clicked (a Down button stays down).
class TMyTransBtn : public TransparentButtonBase {
    Q_OBJECT
  public:
    explicit TMyTransBtn(QWidget* parent = nullptr);

  protected:
    bool OpensMenuOn(Qt::MouseButton) const override { return true; }
    void Click() override { emit clicked(); }
};

}  // namespace vardo
