#include "TransparentButtonBase.h"

#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QShortcutEvent>

#include "ButtonGlyphs.h"
#include "Canvas3D.h"

namespace {

// The system colours the buttons draw with.
struct ButtonColors {
    QColor face = ColorToQColor(clBtnFace);
    QColor shadow = ColorToQColor(clBtnShadow);
    QColor highlight = ColorToQColor(clBtnHighlight);
    QColor dark = ColorToQColor(cl3DDkShadow);
    QColor black = Qt::black;
};

}  // namespace

TransparentButtonBase::TransparentButtonBase(QWidget* parent) : QWidget(parent) {
    resize(40, 40);
    setFocusPolicy(Qt::TabFocus);
}

void TransparentButtonBase::setCaption(const QString& value) {
    if (caption_ == value) return;
    caption_ = value;
    GrabAccelerator();
    update();
}

void TransparentButtonBase::setDown(bool value) {
    if (down_ == value) return;
    down_ = value;
    tracking_ = value;
    pressedLook_ = value;
    repaint();
}

void TransparentButtonBase::setGlyph(const QImage& image) {
    glyph_ = image.convertToFormat(QImage::Format_RGB32);
    RebuildGlyphImages();
}

void TransparentButtonBase::click() {
    if (isEnabled()) Click();
}

void TransparentButtonBase::RebuildGlyphImages() {
    update();
    if (glyph_.isNull() || glyph_.height() == 0) return;
    numGlyphs_ = GlyphCellCount(glyph_.size(), numGlyphs_);
    glyphImages_.clear();
    const ButtonColors colors;
    const int cellWidth = glyph_.width() / numGlyphs_;
    QImage grey;
    QImage disabled;
    for (int cell = 0; cell < numGlyphs_; ++cell) {
        const QImage image = glyph_.copy(cell * cellWidth, 0, cellWidth, glyph_.height());
        if (cell == 0) {
            grey = GreyCopy(image);
            disabled = EtchedCopy(image, colors.face, colors.highlight, colors.shadow);
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

// --- drawing ----------------------------------------------------------------------------------

void TransparentButtonBase::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawBackground(painter);
    DrawFrame(painter);

    const int w = width();
    const int h = height();
    const int gh = glyph_.height();
    const int gw = glyph_.isNull() ? 0 : (numGlyphs_ > 0 ? glyph_.width() / numGlyphs_ : 0);
    const int s = spacing_;
    int gy = (h - gh) / 2;
    if (textAlign_ == ttaBottomRight || textAlign_ == ttaBottom || textAlign_ == ttaBottomLeft) {
        gy = s;  // glyph at the top, text below
    } else if (textAlign_ == ttaTopLeft || textAlign_ == ttaTop || textAlign_ == ttaTopRight) {
        gy = h - gh - s;  // glyph at the bottom, text above
    }
    int gx = (w - gw) / 2;
    if (textAlign_ == ttaLeft) gx = w - gw - s;
    if (textAlign_ == ttaRight) gx = s;

    const int shift = pressedLook_ && showPressed_ ? 1 : 0;
    DrawGlyph(painter, QPoint(gx + shift, gy + shift));
    DrawCaption(painter, gy, gh);
    DrawFocus(painter);
}

void TransparentButtonBase::DrawBackground(QPainter& painter) const {
    const ButtonColors colors;
    const int w = width();
    const int h = height();
    const int pen = std::max(borderWidth_, 1);
    QRect area;
    switch (frameStyle_) {
        case fsRegular:
            area = QRect(1, 1, w - 1, h - 1);
            if (!transparent_) painter.fillRect(area, colors.face);
            Frame3D(painter, area, colors.black, colors.black, pen);
            break;
        case fsIndent:
            area = QRect(0, 0, w - 1, h - 1);
            if (!transparent_) painter.fillRect(area, colors.face);
            Frame3D(painter, area, colors.shadow, colors.shadow, pen);
            area = QRect(1, 1, w - 1, h - 1);
            Frame3D(painter, area, colors.highlight, colors.highlight, borderWidth_);
            break;
        default:
            if (!transparent_) painter.fillRect(rect(), colors.face);
            break;
    }
}

void TransparentButtonBase::DrawFrame(QPainter& painter) const {
    const ButtonColors colors;
    const int bw = borderWidth_;
    const bool pressed = pressedLook_ && showPressed_;
    QRect area = rect();
    const auto frame = [&](const QColor& top, const QColor& bottom, int width) {
        Frame3D(painter, area, top, bottom, width);
    };
    switch (frameStyle_) {
        case fsRegular:
        case fsIndent:
            if (pressed) {
                frame(colors.black, colors.highlight, bw);
                frame(colors.shadow, colors.face, bw);
            } else if (frameStyle_ == fsRegular) {
                frame(colors.highlight, colors.black, bw);
                frame(colors.face, colors.shadow, bw);
            } else {
                frame(colors.shadow, colors.highlight, bw);
            }
            break;
        case fsExplorer:
            if (pressedLook_) {
                if (!hover_ && !down_) break;
                if (showPressed_) {
                    frame(colors.shadow, colors.highlight, bw);
                } else {
                    frame(colors.highlight, colors.shadow, bw);
                }
            } else if (hover_) {
                frame(colors.highlight, colors.shadow, bw);
            }
            break;
        case fsNone:
            break;
        case fsLight:
            pressed ? frame(colors.shadow, colors.highlight, 1)
                    : frame(colors.highlight, colors.shadow, 1);
            break;
        case fsDark:
            pressed ? frame(colors.dark, colors.face, 1) : frame(colors.face, colors.dark, 1);
            break;
        case fsMono:
            pressed ? frame(colors.dark, colors.highlight, 1)
                    : frame(colors.highlight, colors.dark, 1);
            break;
    }
}

const QImage* TransparentButtonBase::CurrentGlyphImage() const {
    if (glyph_.isNull()) return nullptr;
    const bool enabled = isEnabled();
    std::size_t index = 0;
    if (numGlyphs_ == 2) {
        index = enabled ? 0 : 1;
    } else if (numGlyphs_ >= 3) {
        index = !enabled ? 1 : pressedLook_ ? 2 : 0;
    }
    // The grey and the disabled copies follow the cells.
    const auto cells = static_cast<std::size_t>(numGlyphs_);
    if (frameStyle_ == fsExplorer && autoGray_ && !hover_) index = cells;
    if (!enabled && numGlyphs_ == 1) index = cells + 1;
    // A cell count set after the glyph may point past the prepared images: nothing is drawn.
    return index < glyphImages_.size() ? &glyphImages_[index] : nullptr;
}

void TransparentButtonBase::DrawGlyph(QPainter& painter, QPoint at) const {
    const QImage* image = CurrentGlyphImage();
    if (!image) return;
    if (!transparent_) painter.fillRect(QRect(at, image->size()), ColorToQColor(clBtnFace));
    painter.drawImage(at, *image);
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
        painter.setPen(ColorToQColor(clBtnHighlight));
        painter.drawText(box.translated(1, 1), flags, caption_);
        painter.setPen(ColorToQColor(clBtnShadow));
        painter.drawText(box, flags, caption_);
    }
}

void TransparentButtonBase::DrawFocus(QPainter& painter) const {
    if (!hasFocus()) return;
    painter.setPen(QPen(palette().color(QPalette::Active, QPalette::ButtonText), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(2, 2, -3, -3));
}

// --- mouse and keyboard -----------------------------------------------------------------------

void TransparentButtonBase::mousePressEvent(QMouseEvent* event) {
    // Accepted whatever happens: a press on the button never reaches the parent.
    event->accept();
    if (!isEnabled() || held_) return;
    held_ = true;
    heldButton_ = event->button();
    const QPoint point = event->position().toPoint();
    if (movable_) pressPoint_ = point;
    if (rect().contains(point)) {
        tracking_ = true;
        pressedLook_ = true;
        repaint();
    }
    if (popupMenu_ && OpensMenuOn(event->button())) {
        const QPointer<TransparentButtonBase> alive(this);
        // A popup grabs the mouse: presses made while it is open go to it, not to the window.
        popupMenu_->exec(mapToGlobal(QPoint(0, height())));
        if (alive) ReleaseHandling();
    }
}

void TransparentButtonBase::mouseDoubleClickEvent(QMouseEvent* event) {
    // A quick second click is a second click.
    mousePressEvent(event);
}

void TransparentButtonBase::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!tracking_) return;
    const QPoint point = event->position().toPoint();
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
    if (event->button() == Qt::LeftButton && heldButton_ == Qt::LeftButton &&
        rect().contains(event->position().toPoint())) {
        const QPointer<TransparentButtonBase> alive(this);
        click();
        if (!alive) return;
    }
    ReleaseHandling();
}

void TransparentButtonBase::ReleaseHandling() {
    if (!isEnabled() || !held_) return;
    held_ = false;
    if (down_) return;  // a Down button stays pressed
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
    emit mouseEntered();
    if (frameStyle_ == fsExplorer) update();
}

void TransparentButtonBase::leaveEvent(QEvent*) {
    if (!isEnabled()) return;
    hover_ = false;
    emit mouseExited();
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
