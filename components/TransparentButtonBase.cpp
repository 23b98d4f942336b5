#include "TransparentButtonBase.h"

#include "ButtonGlyphs.h"
#include "ShapeCanvas.h"

#include <QKeyEvent>
#include <QPainter>
#include <QShortcutEvent>

namespace vardo {

TransparentButtonBase::TransparentButtonBase(QWidget* parent) : QWidget(parent) {
    resize(40, 40);
    setFocusPolicy(Qt::TabFocus);
}

void TransparentButtonBase::SetCaption(const QString& value) {
    if (caption_ == value) return;
    caption_ = value;
    GrabAccelerator();
    update();
}

void TransparentButtonBase::SetDown(bool value) {
    if (down_ == value) return;
    down_ = value;
    tracking_ = value;
    pressedLook_ = value;
    repaint();
}

void TransparentButtonBase::SetGlyph(const QImage& image) {
    glyph_ = image.convertToFormat(QImage::Format_RGB32);
    PrepareGlyphImages();
}

void TransparentButtonBase::click() {
    if (isEnabled()) Click();
}

void TransparentButtonBase::PrepareGlyphImages() {
    update();
    if (glyph_.isNull() || glyph_.height() == 0) return;
    numGlyphs_ = GlyphCellCount(glyph_.size(), numGlyphs_);
    glyphImages_.clear();
    const int cellWidth = glyph_.width() / numGlyphs_;
    QImage grey;
    QImage disabled;
    for (int cell = 0; cell < numGlyphs_; ++cell) {
        const QImage image = glyph_.copy(cell * cellWidth, 0, cellWidth, glyph_.height());
        if (cell == 0) {
            grey = GreyCopy(image);
            disabled = EtchedCopy(image, ColorToQColor(clBtnFace), ColorToQColor(clBtnHighlight),
                                  ColorToQColor(clBtnShadow));
        }
        glyphImages_.push_back(MaskedByBottomLeft(image));
    }
    glyphImages_.push_back(MaskedByBottomLeft(grey));
    glyphImages_.push_back(MaskedByBottomLeft(disabled));
}

void TransparentButtonBase::GrabAccelerator() {
    if (acceleratorId_ != 0) releaseShortcut(acceleratorId_);
    acceleratorId_ = 0;
    const QKeySequence accelerator = QKeySequence::mnemonic(caption_);
    if (!accelerator.isEmpty()) acceleratorId_ = grabShortcut(accelerator);
}

bool TransparentButtonBase::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut &&
        static_cast<QShortcutEvent*>(event)->shortcutId() == acceleratorId_) {
        click();
        return true;
    }
    return QWidget::event(event);
}

// --- drawing ------------------------------------------------------------------------------------

void TransparentButtonBase::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ShapeCanvas canvas(painter);
    DrawBackground(canvas);
    DrawFrame(canvas);

    const int w = width();
    const int h = height();
    const int gh = glyph_.height();
    const int gw =
        glyph_.isNull() || numGlyphs_ <= 0 ? glyph_.width() : glyph_.width() / numGlyphs_;
    int gy = (h - gh) / 2;
    if (textAlign_ == ttaBottomRight || textAlign_ == ttaBottom || textAlign_ == ttaBottomLeft) {
        gy = spacing_;  // the glyph at the top, the caption below
    } else if (textAlign_ == ttaTopLeft || textAlign_ == ttaTop || textAlign_ == ttaTopRight) {
        gy = h - gh - spacing_;  // the glyph at the bottom, the caption above
    }
    int gx = (w - gw) / 2;
    if (textAlign_ == ttaLeft) gx = w - gw - spacing_;
    if (textAlign_ == ttaRight) gx = spacing_;

    if (const QImage* image = CurrentGlyphImage()) {
        const int shift = pressedLook_ && showPressed_ ? 1 : 0;
        const QPoint at(gx + shift, gy + shift);
        if (!transparent_) painter.fillRect(QRect(at, image->size()), ColorToQColor(clBtnFace));
        painter.drawImage(at, *image);
    }
    DrawCaption(painter, gy, gh);
    DrawFocus(painter);
}

void TransparentButtonBase::DrawBackground(ShapeCanvas& canvas) const {
    const int w = width();
    const int h = height();
    TRect area;
    switch (frameStyle_) {
        case fsRegular:
            area = {1, 1, w, h};
            if (!transparent_) {
                canvas.SetBrushColor(clBtnFace);
                canvas.FillRect(area);
            }
            canvas.Frame3D(area, clBlack, clBlack, borderWidth_);
            break;
        case fsIndent:
            area = {0, 0, w - 1, h - 1};
            if (!transparent_) {
                canvas.SetBrushColor(clBtnFace);
                canvas.FillRect(area);
            }
            canvas.Frame3D(area, clBtnShadow, clBtnShadow, borderWidth_);
            area = {1, 1, w, h};
            canvas.Frame3D(area, clBtnHighlight, clBtnHighlight, borderWidth_);
            break;
        default:
            if (!transparent_) {
                canvas.SetBrushColor(clBtnFace);
                canvas.FillRect({0, 0, w, h});
            }
            break;
    }
}

void TransparentButtonBase::DrawFrame(ShapeCanvas& canvas) const {
    const bool pressed = pressedLook_ && showPressed_;
    TRect area{0, 0, width(), height()};
    const auto frame = [&](TColor topLeft, TColor bottomRight, int lineWidth) {
        canvas.Frame3D(area, topLeft, bottomRight, lineWidth);
    };
    switch (frameStyle_) {
        case fsRegular:
        case fsIndent:
            if (pressed) {
                frame(clBlack, clBtnHighlight, borderWidth_);
                frame(clBtnShadow, clBtnFace, borderWidth_);
            } else if (frameStyle_ == fsRegular) {
                frame(clBtnHighlight, clBlack, borderWidth_);
                frame(clBtnFace, clBtnShadow, borderWidth_);
            } else {
                frame(clBtnShadow, clBtnHighlight, borderWidth_);
            }
            break;
        case fsExplorer:
            // Flat until the pointer is over it; the pressed look needs the pointer or Down.
            if (pressedLook_ && (hover_ || down_)) {
                showPressed_ ? frame(clBtnShadow, clBtnHighlight, borderWidth_)
                             : frame(clBtnHighlight, clBtnShadow, borderWidth_);
            } else if (!pressedLook_ && hover_) {
                frame(clBtnHighlight, clBtnShadow, borderWidth_);
            }
            break;
        case fsNone:
            break;
        case fsLight:
            pressed ? frame(clBtnShadow, clBtnHighlight, 1) : frame(clBtnHighlight, clBtnShadow, 1);
            break;
        case fsDark:
            pressed ? frame(cl3DDkShadow, clBtnFace, 1) : frame(clBtnFace, cl3DDkShadow, 1);
            break;
        case fsMono:
            pressed ? frame(cl3DDkShadow, clBtnHighlight, 1)
                    : frame(clBtnHighlight, cl3DDkShadow, 1);
            break;
    }
}

const QImage* TransparentButtonBase::CurrentGlyphImage() const {
    if (glyph_.isNull()) return nullptr;
    const bool enabled = isEnabled();
    // Two cells: normal, disabled; three or four: normal, disabled, pressed.
    int index = 0;
    if (numGlyphs_ == 2) {
        index = enabled ? 0 : 1;
    } else if (numGlyphs_ >= 3) {
        index = !enabled ? 1 : pressedLook_ ? 2 : 0;
    }
    // The grey and the disabled copies follow the cells.
    if (frameStyle_ == fsExplorer && autoGray_ && !hover_) index = numGlyphs_;
    if (!enabled && numGlyphs_ == 1) index = numGlyphs_ + 1;
    // A cell count set after the glyph may point past the prepared images: nothing is drawn.
    if (index < 0 || index >= static_cast<int>(glyphImages_.size())) return nullptr;
    return &glyphImages_[static_cast<std::size_t>(index)];
}

void TransparentButtonBase::DrawCaption(QPainter& painter, int glyphTop, int glyphHeight) const {
    if (caption_.isEmpty()) return;
    const int w = width();
    const int h = height();
    const int s = spacing_;
    painter.setFont(font());
    const int lines = wordWrap_ ? Qt::TextWordWrap : Qt::TextSingleLine;
    const QSize text = painter.fontMetrics()
                           .boundingRect(QRect(0, 0, w, h), lines | Qt::TextShowMnemonic, caption_)
                           .size();
    const int tw = text.width();
    const int th = text.height();
    const int above = glyphTop - th - s;
    const int below = glyphTop + glyphHeight + s;
    QPoint at;
    switch (textAlign_) {
        case ttaTopLeft:
            at = {s, above};
            break;
        case ttaTop:
            at = {w / 2 - tw / 2, above};
            break;
        case ttaTopRight:
            at = {w - tw - s, above};
            break;
        case ttaRight:
            at = {w - tw - s, h / 2 - th / 2};
            break;
        case ttaBottomRight:
            at = {w - tw - s, below};
            break;
        case ttaBottom:
            at = {w / 2 - tw / 2, below};
            break;
        case ttaBottomLeft:
            at = {s, below};
            break;
        case ttaLeft:
            at = {s, h / 2 - th / 2};
            break;
        case ttaCenter:
            at = {w / 2 - tw / 2, h / 2 - th / 2};
            break;
    }
    if (pressedLook_ && showPressed_) at += QPoint(1, 1);
    const QRect box(at, text);
    const int flags =
        lines | Qt::TextShowMnemonic | Qt::TextDontClip | Qt::AlignHCenter | Qt::AlignTop;
    if (isEnabled()) {
        painter.setPen(palette().color(QPalette::Active, QPalette::ButtonText));
        painter.drawText(box, flags, caption_);
    } else {
        // Etched: a highlight one pixel down and right under the text in the shadow colour.
        painter.setPen(ColorToQColor(clBtnHighlight));
        painter.drawText(box.translated(1, 1), flags, caption_);
        painter.setPen(ColorToQColor(clBtnShadow));
        painter.drawText(box, flags, caption_);
    }
}

void TransparentButtonBase::DrawFocus(QPainter& painter) const {
    if (!hasFocus()) return;
    painter.setPen(QPen(palette().color(QPalette::Active, QPalette::ButtonText), 0, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(2, 2, -3, -3));
}

// --- mouse and keyboard -------------------------------------------------------------------------

void TransparentButtonBase::mousePressEvent(QMouseEvent* event) {
    // Taken whatever happens: a press on the button never drags the window behind it.
    event->accept();
    if (!isEnabled() || held_) return;
    held_ = true;
    heldButton_ = event->button();
    const QPoint point = event->position().toPoint();
    emit mouseDown(event->button(), event->modifiers(), point.x(), point.y());
    if (movable_) pressPoint_ = point;
    if (rect().contains(point)) {
        tracking_ = true;
        pressedLook_ = true;
        repaint();
    }
    if (popUpMenu_ && OpensMenuOn(event->button())) {
        const QPointer<TransparentButtonBase> alive(this);
        // The open menu grabs the mouse: clicks made meanwhile go to it, not to the window.
        popUpMenu_->exec(mapToGlobal(QPoint(0, height())));
        if (alive) Release(event->button(), event->modifiers(), point);
    }
}

void TransparentButtonBase::mouseDoubleClickEvent(QMouseEvent* event) {
    // A quick second click is a second click.
    mousePressEvent(event);
}

void TransparentButtonBase::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    const QPoint point = event->position().toPoint();
    emit mouseMove(event->modifiers(), point.x(), point.y());
    if (!tracking_) return;
    if (movable_ && held_) move(pos() + point - pressPoint_);
    const bool inside = rect().contains(point);
    if (inside != pressedLook_) {
        pressedLook_ = inside;
        repaint();
    }
}

void TransparentButtonBase::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (!isEnabled() || !held_) return;
    // The click comes first, then the end of the press.
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton && heldButton_ == Qt::LeftButton &&
        rect().contains(point)) {
        const QPointer<TransparentButtonBase> alive(this);
        click();
        if (!alive) return;
    }
    Release(event->button(), event->modifiers(), point);
}

void TransparentButtonBase::Release(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                    QPoint point) {
    if (!isEnabled() || !held_) return;
    held_ = false;
    if (down_) return;
    emit mouseUp(button, modifiers, point.x(), point.y());
    tracking_ = false;
    pressedLook_ = false;
    repaint();
}

void TransparentButtonBase::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
        !event->isAutoRepeat()) {
        click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TransparentButtonBase::enterEvent(QEnterEvent*) {
    if (!isEnabled()) return;
    hover_ = true;
    emit mouseEnter();
    if (frameStyle_ == fsExplorer) update();
}

void TransparentButtonBase::leaveEvent(QEvent*) {
    if (!isEnabled()) return;
    hover_ = false;
    emit mouseExit();
    if (frameStyle_ == fsExplorer) update();
}

void TransparentButtonBase::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            pressedLook_ = false;
            tracking_ = false;
            held_ = false;
            hover_ = false;
        }
        update();
    }
    QWidget::changeEvent(event);
}

void TransparentButtonBase::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void TransparentButtonBase::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

}  // namespace vardo
