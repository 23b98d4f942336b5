#include "MyShape.h"

#include "RepaintingSetter.h"
#include "ShapeDrawing.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QMouseEvent>
#include <QPainter>

namespace vardo {

namespace {

bool IsMouseInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
            return true;
        default:
            return false;
    }
}

// Swallows every mouse event of the application while it lives.
class MouseInputSwallower : public QObject {
  public:
    MouseInputSwallower() { QCoreApplication::instance()->installEventFilter(this); }

  protected:
    bool eventFilter(QObject*, QEvent* event) override { return IsMouseInput(event->type()); }
};

// Drops the mouse input that queued up while a popup menu was open, so that clicks meant for the
// menu do not reach the windows under it afterwards.
void DiscardPendingMouseInput() {
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseMove, QEvent::Wheel}) {
        QCoreApplication::removePostedEvents(nullptr, type);
    }
    const MouseInputSwallower swallower;
    QCoreApplication::processEvents();
}

Qt::CursorShape HandleCursor(int handle) {
    switch (handle) {
        case 1:
        case 8:
            return Qt::SizeFDiagCursor;
        case 2:
        case 7:
            return Qt::SizeVerCursor;
        case 3:
        case 6:
            return Qt::SizeBDiagCursor;
        default:
            return Qt::SizeHorCursor;
    }
}

}  // namespace

TMyShape::TMyShape(QWidget* parent) : QWidget(parent) {
    // Hover over the handles needs moves without a button held.
    setMouseTracking(true);
    resize(64, 56);
    font_.setFamily(fontName_);
    font_.setPointSize(fontSize_);
}

template <typename T>
void TMyShape::StoreAndRepaint(T& field, const T& value) {
    field = value;
    update();
}

void TMyShape::SetCaption(const QString& value) {
    StoreAndRepaintOnChange(*this, caption_, value);
}
void TMyShape::SetShowDot(bool value) {
    StoreAndRepaint(showDot_, value);
}
void TMyShape::SetPenWidth(quint8 value) {
    StoreAndRepaint(penWidth_, value);
}
void TMyShape::SetFrameWidth(quint32 value) {
    StoreAndRepaint(frameWidth_, value);
}
void TMyShape::SetShowFrame(bool value) {
    StoreAndRepaint(showFrame_, value);
}
void TMyShape::SetEditting(bool value) {
    StoreAndRepaint(editting_, value);
}
void TMyShape::SetDrawShape(TDrawShape value) {
    StoreAndRepaint(drawShape_, value);
}
void TMyShape::SetColor(TColor value) {
    StoreAndRepaint(color_, value);
}
void TMyShape::SetPenStyle(TPenStyle value) {
    StoreAndRepaint(penStyle_, value);
}
void TMyShape::SetDrawDirection(TDrawDirection value) {
    StoreAndRepaint(drawDirection_, value);
}
void TMyShape::SetbkTransParent(bool value) {
    StoreAndRepaintOnChange(*this, bkTransParent_, value);
}
void TMyShape::SetStretch(bool value) {
    StoreAndRepaintOnChange(*this, stretch_, value);
}
void TMyShape::SetOrgFontSize(bool value) {
    StoreAndRepaintOnChange(*this, orgFontSize_, value);
}
void TMyShape::SetTextAlign(TTextAlign value) {
    StoreAndRepaintOnChange(*this, textAlign_, value);
}

void TMyShape::SetFontName(const QString& value) {
    fontName_ = value;
    font_.setFamily(value);
    update();
}

void TMyShape::SetFontColor(TColor value) {
    fontColor_ = value;
    update();
}

void TMyShape::SetFontSize(int value) {
    fontSize_ = value;
    font_.setPointSize(std::max(value, 1));
    update();
}

void TMyShape::SetFont(const QFont& value) {
    font_ = value;
    fontName_ = font_.family();
    // A font given in pixels has no point size of its own; it gets the one it is shown at.
    if (font_.pointSize() <= 0) font_.setPointSize(std::max(QFontInfo(font_).pointSize(), 1));
    fontSize_ = font_.pointSize();
    update();
}

Qt::PenStyle TMyShape::QtPenStyle() const {
    switch (penStyle_) {
        case psDash:
            return Qt::DashLine;
        case psDot:
            return Qt::DotLine;
        case psDashDot:
            return Qt::DashDotLine;
        case psDashDotDot:
            return Qt::DashDotDotLine;
        case psClear:
            return Qt::NoPen;
        default:  // solid and inside-frame pens draw solid lines
            return Qt::SolidLine;
    }
}

TRect TMyShape::HandleRect(int handle) const {
    const int w = width();
    const int h = height();
    const int s = HandleSize;
    switch (handle) {
        case 1:
            return {0, 0, s, s};
        case 2:
            return {w / 2 - s / 2, 0, w / 2 + s / 2, s};
        case 3:
            return {w - s, 0, w, s};
        case 4:
            return {0, h / 2 - s / 2, s, h / 2 + s / 2};
        case 5:
            return {w - s, h / 2 - s / 2, w, h / 2 + s / 2};
        case 6:
            return {0, h - s, s, h};
        case 7:
            return {w / 2 - s / 2, h - s, w / 2 + s / 2, h};
        default:
            return {w - s, h - s, w, h};
    }
}

int TMyShape::HandleAt(int x, int y) const {
    for (int handle = 1; handle <= 8; ++handle) {
        if (HandleRect(handle).Contains(x, y)) return handle;
    }
    return 0;
}

void TMyShape::Paint(QPainter& painter) {
    ShapeCanvas canvas(painter);
    canvas.font = {font_, fontColor_};
    const TRect client{0, 0, width(), height()};

    canvas.SetPen(penWidth_, color_, QtPenStyle());
    canvas.SetBrushColor(color_);
    if (!bkTransParent_) canvas.FillRect(client);

    if (!picture_.isNull()) {
        canvas.StretchDraw(stretch_ ? client : TRect{0, 0, picture_.width(), picture_.height()},
                           picture_);
    }

    TRect frame = client;
    if (frameState_ == FrameState::Raised && !editting_) {
        canvas.Frame3D(frame, clWhite, clGray, 1);
    } else if (frameState_ == FrameState::Sunken && !editting_) {
        canvas.Frame3D(frame, clGray, clWhite, 1);
    } else if (showFrame_) {
        canvas.Frame3D(frame, clWhite, clGray, 1);
    }

    // The brush is the inverse of the colour, but clear until a shape sets a colour. A system
    // colour is inverted by its RGB value, not by its index.
    canvas.SetPen(penWidth_, color_, QtPenStyle());
    canvas.brushColor = ColorToRGB(color_) ^ 0xFFFFFF;
    canvas.brushClear = true;
    DrawShapeMember(*this, canvas);

    if (editting_) {
        canvas.SetPen(1, clRed, QtPenStyle());
        canvas.SetBrushColor(clBlack);
        for (int handle = 1; handle <= 8; ++handle) canvas.Rectangle(HandleRect(handle));
    }
}

void TMyShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Paint(painter);
}

void TMyShape::mousePressEvent(QMouseEvent* event) {
    if (!isEnabled() || pressed_) return;
    const QPoint position = event->position().toPoint();
    emit mouseDown(event->button(), event->modifiers(), position.x(), position.y());
    pressed_ = true;
    if (movable_) pressPoint_ = position;
    if (rect().contains(position)) {
        frameState_ = FrameState::Sunken;
        repaint();
    }
    if (event->button() == Qt::RightButton && popUpMenu_) {
        // The mouseUp handlers may take the menu, or the control itself, away.
        if (!Release(event->button(), event->modifiers(), position) || !popUpMenu_) return;
        if (!ShowPopUpMenu(position)) return;
    }
    if (resizeZone_ != 0) lastScreenPoint_ = event->globalPosition().toPoint();
}

bool TMyShape::ShowPopUpMenu(QPoint position) {
    const QPoint screenPoint = mapToGlobal(position);
    const QPointer<TMyShape> self(this);
    popUpMenu_->setProperty(PopupOwnerProperty, QVariant::fromValue<QObject*>(this));
    popUpMenu_->exec(screenPoint);
    DiscardPendingMouseInput();
    // The menu's handlers may have destroyed this control.
    return !self.isNull();
}

void TMyShape::contextMenuEvent(QContextMenuEvent* event) {
    // The popup menu, if any, was shown on the press; the parent must not show its own.
    if (popUpMenu_) {
        event->accept();
    } else {
        event->ignore();
    }
}

void TMyShape::mouseMoveEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    emit mouseMove(event->modifiers(), position.x(), position.y());
    if (pressed_) {
        if (canZoom_ && resizeZone_ != 0) {
            ResizeByZone(event->globalPosition().toPoint());
        } else if (movable_) {
            move(x() + position.x() - pressPoint_.x(), y() + position.y() - pressPoint_.y());
        } else if (!rect().contains(position)) {
            frameState_ = FrameState::Normal;
            repaint();
            pressed_ = false;
            unsetCursor();
        }
    } else if (editting_) {
        resizeZone_ = HandleAt(position.x(), position.y());
        SetResizeZoneCursor(resizeZone_);
    }
}

void TMyShape::SetResizeZoneCursor(int zone) {
    if (zone == 0) {
        unsetCursor();
    } else {
        setCursor(HandleCursor(zone));
    }
}

void TMyShape::ResizeByZone(QPoint screenPoint) {
    const int dx = screenPoint.x() - lastScreenPoint_.x();
    const int dy = screenPoint.y() - lastScreenPoint_.y();
    // Which edges follow the pointer: -1 the left or top edge, +1 the right or bottom, 0 none.
    static constexpr int Horizontal[9] = {0, -1, 0, 1, -1, 1, -1, 0, 1};
    static constexpr int Vertical[9] = {0, -1, -1, -1, 0, 0, 1, 1, 1};
    const int horizontal = Horizontal[resizeZone_];
    const int vertical = Vertical[resizeZone_];

    // Width, height, left, top in that order; a dimension that would fall below the minimum is
    // set to the minimum and ends the resize there.
    if (horizontal != 0) {
        const int newWidth = width() + horizontal * dx;
        if (newWidth < MinimumSize) {
            resize(MinimumSize, height());
            resizeZone_ = 0;
            return;
        }
        resize(newWidth, height());
    }
    if (vertical != 0) {
        const int newHeight = height() + vertical * dy;
        if (newHeight < MinimumSize) {
            resize(width(), MinimumSize);
            resizeZone_ = 0;
            return;
        }
        resize(width(), newHeight);
    }
    if (horizontal < 0) move(x() + dx, y());
    if (vertical < 0) move(x(), y() + dy);
    lastScreenPoint_ = screenPoint;
    repaint();
}

void TMyShape::mouseReleaseEvent(QMouseEvent* event) {
    if (!isEnabled()) return;
    const QPoint position = event->position().toPoint();
    if (event->button() == Qt::LeftButton && pressed_ && rect().contains(position)) emit click();
    Release(event->button(), event->modifiers(), position);
}

bool TMyShape::Release(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position) {
    const QPointer<TMyShape> self(this);
    emit mouseUp(button, modifiers, position.x(), position.y());
    if (!self) return false;
    pressed_ = false;
    frameState_ = FrameState::Raised;
    repaint();
    frameState_ = FrameState::Normal;
    unsetCursor();
    repaint();
    return true;
}

void TMyShape::enterEvent(QEnterEvent*) {
    if (!isEnabled()) return;
    pointerInside_ = true;
    emit mouseEnter();
}

void TMyShape::leaveEvent(QEvent*) {
    if (!isEnabled()) return;
    pointerInside_ = false;
    emit mouseExit();
}

}  // namespace vardo
