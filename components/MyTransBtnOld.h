#pragma once

#include "TransparentButtonBase.h"

namespace vardo {

// The program's transparent command button. Its popup menu opens on the right mouse button, and
// a click first shows the button released (clearing Down) and keeps the caption colour the click
// handler found.
class TTransparentButton : public TransparentButtonBase {
    Q_OBJECT
  public:
    explicit TTransparentButton(QWidget* parent = nullptr);

  protected:
    bool OpensMenuOn(Qt::MouseButton button) const override { return button == Qt::RightButton; }
    void Click() override;
};

}  // namespace vardo
