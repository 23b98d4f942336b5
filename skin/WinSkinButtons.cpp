#include "WinSkinButtons.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

#include "SkinDrawing.h"
#include "WinSkinData.h"

namespace vardo {

namespace {

// Room between a check or radio glyph and its caption.
constexpr int kGlyphGap = 4;

// Frame (from 1) of an image holding frameCount cells side by side, drawn with magenta
// transparent, centred vertically at the left of rect. Returns the glyph's width.
int DrawGlyph(QPainter& painter, const QRect& rect, const QImage& image, int frameCount,
              int frame) {
    const int frames = std::max(frameCount, 1);
    const int width = image.width() / frames;
    const int index = std::clamp(frame, 1, frames) - 1;
    const QImage cell = image.copy(index * width, 0, width, image.height());
    painter.drawImage(rect.left(), rect.top() + (rect.height() - cell.height()) / 2,
                      MagentaTransparent(cell));
    return width;
}

void DrawCaptionBeside(QPainter& painter, const QAbstractButton& button, const QRect& rect,
                       int glyphWidth) {
    const QRect text = rect.adjusted(glyphWidth + kGlyphGap, 0, 0, 0);
    painter.setFont(button.font());
    painter.setPen(button.palette().color(
        button.isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, button.text());
}

}  // namespace

// ---- push buttons ------------------------------------------------------------------------------

int TSkinButton::ButtonFrame(bool focused, bool pressed, bool hot, bool enabled) {
    int frame = focused ? 5 : 1;
    if (pressed) {
        frame = 2;
    } else if (hot) {
        frame = 4;
    }
    return enabled ? frame : 3;
}

bool TSkinButton::CanPaint() const {
    return !Model().Buttons.Bitmap.isNull();
}

// Composed off-screen and copied to the button in one block.
void TSkinButton::Paint(QPainter& painter, const QRect& rect) {
    const auto* button = qobject_cast<const QAbstractButton*>(control_.data());
    const auto* push = qobject_cast<const QPushButton*>(control_.data());
    const TSkinModel& model = Model();
    const bool enabled = control_->isEnabled();
    const bool focused = control_->hasFocus() || (push && push->isDefault());
    const bool pressed = button && button->isDown();
    const int frame = ButtonFrame(focused, pressed, Hot(), enabled);

    QImage image(rect.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(transparent_ ? QColor(Qt::transparent) : ColorToQColor(model.Colours.ButtonFace));
    QPainter canvas(&image);
    DrawElement(canvas, QRect(QPoint(0, 0), rect.size()), model.Buttons, frame);

    TColor colour = model.Colours.ButtonText;
    const TDataSkinButton& b = model.Buttons;
    if (frame == 1 && b.NormalColour2Given) colour = b.NormalColour2;
    if (frame == 4 && b.MouseOverColour2Given) colour = b.MouseOverColour2;
    if (frame == 2 && b.PressedColour2Given) colour = b.PressedColour2;
    if (!enabled) colour = clBtnShadow;
    canvas.setPen(ColorToQColor(colour));
    canvas.setFont(control_->font());
    int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    if (control_->property("MultiLine").toBool()) flags |= Qt::TextWordWrap;
    QRect text(QPoint(0, 0), rect.size());
    if (button && !button->icon().isNull()) {
        const QSize icon = button->iconSize();
        const int textWidth = canvas.fontMetrics().horizontalAdvance(button->text());
        const int left = (rect.width() - icon.width() - kGlyphGap - textWidth) / 2;
        canvas.drawPixmap(left, (rect.height() - icon.height()) / 2,
                          button->icon().pixmap(icon, enabled ? QIcon::Normal : QIcon::Disabled));
        text.setLeft(left + icon.width() + kGlyphGap);
        flags = (flags & ~Qt::AlignHCenter) | Qt::AlignLeft;
    }
    if (button) canvas.drawText(text, flags, button->text());
    canvas.end();
    painter.drawImage(rect.topLeft(), image);
}

// ---- check boxes -------------------------------------------------------------------------------

int TSkinCheckBox::CheckFrame(Qt::CheckState state, bool enabled, int frameCount) {
    int frame = state == Qt::Checked ? 2 : 1;
    if (!enabled) frame += 2;
    if (state == Qt::PartiallyChecked) frame = 4;
    if (frameCount == 12) {
        if (state == Qt::PartiallyChecked) return enabled ? 9 : 12;
        if (frame == 2) return 5;
        if (frame == 3) return 4;
        if (frame == 4) return 8;
    }
    return frame;
}

bool TSkinCheckBox::CanPaint() const {
    return !Model().Buttons.CheckBitmap.isNull();
}

void TSkinCheckBox::Paint(QPainter& painter, const QRect& rect) {
    const auto* box = qobject_cast<const QCheckBox*>(control_.data());
    if (!box) return;
    const TDataSkinButton& b = Model().Buttons;
    const int frame = CheckFrame(box->checkState(), box->isEnabled(), b.CheckFrameCount);
    const int width = DrawGlyph(painter, rect, b.CheckBitmap, b.CheckFrameCount, frame);
    DrawCaptionBeside(painter, *box, rect, width);
}

// ---- radio buttons -----------------------------------------------------------------------------

bool TSkinRadioButton::CanPaint() const {
    return !Model().Buttons.RadioBitmap.isNull();
}

void TSkinRadioButton::Paint(QPainter& painter, const QRect& rect) {
    const auto* button = qobject_cast<const QAbstractButton*>(control_.data());
    if (!button) return;
    const TDataSkinButton& b = Model().Buttons;
    const int frame = (button->isChecked() ? 2 : 1) + (button->isEnabled() ? 0 : 2);
    const int width = DrawGlyph(painter, rect, b.RadioBitmap, b.RadioFrameCount, frame);
    DrawCaptionBeside(painter, *button, rect, width);
}

}  // namespace vardo
