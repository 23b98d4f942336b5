#include "WinSkinButtons.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

#include "SkinDrawing.h"
#include "WinSkinData.h"

namespace vardo {

namespace {

// Room between a check or radio glyph and its caption, and between the caption and the focus
// mark round it.
constexpr int kGlyphGap = 4;
constexpr int kFocusMargin = 2;

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

// The drop-down arrow's box at the right of a menu button, and its distance from the edge.
constexpr int kMenuArrowWidth = 10;
constexpr int kMenuArrowInset = 4;

enum class IconAndText { Beside, Under, IconOnly, TextOnly };

// A button's icon and caption as one group centred in rect (the icon left of the caption, or
// above it), the icon drawn disabled when the button is. Without an icon only the caption shows.
void DrawIconAndText(QPainter& canvas, const QRect& rect, const QAbstractButton& button,
                     IconAndText layout) {
    const bool withIcon = layout != IconAndText::TextOnly && !button.icon().isNull();
    const bool withText = layout != IconAndText::IconOnly && !button.text().isEmpty();
    const QSize icon = withIcon ? button.icon().actualSize(button.iconSize()) : QSize(0, 0);
    const QSize text =
        withText ? canvas.fontMetrics().size(Qt::TextShowMnemonic, button.text()) : QSize(0, 0);
    const int gap = withIcon && withText ? kGlyphGap : 0;
    const bool under = layout == IconAndText::Under;
    const QSize group =
        under ? QSize(std::max(icon.width(), text.width()), icon.height() + gap + text.height())
              : QSize(icon.width() + gap + text.width(), std::max(icon.height(), text.height()));
    const QRect box(rect.left() + (rect.width() - group.width()) / 2,
                    rect.top() + (rect.height() - group.height()) / 2, group.width(),
                    group.height());
    if (withIcon) {
        const QPoint at = under
                              ? QPoint(box.left() + (box.width() - icon.width()) / 2, box.top())
                              : QPoint(box.left(), box.top() + (box.height() - icon.height()) / 2);
        canvas.drawPixmap(
            at, button.icon().pixmap(icon, button.isEnabled() ? QIcon::Normal : QIcon::Disabled));
    }
    if (withText) {
        const QRect area =
            under ? QRect(box.left(), box.top() + icon.height() + gap, box.width(), text.height())
                  : QRect(box.left() + icon.width() + gap, box.top(), text.width(), box.height());
        canvas.drawText(area, Qt::AlignCenter | Qt::TextShowMnemonic, button.text());
    }
}

// A small filled triangle pointing as arrow, centred in rect, in the painter's pen colour.
void DrawArrow(QPainter& canvas, const QRect& rect, Qt::ArrowType arrow) {
    static constexpr QPointF kDown[3] = {{-4, -2}, {4, -2}, {0, 2}};
    QTransform turn;
    if (arrow == Qt::UpArrow) turn.rotate(180);
    if (arrow == Qt::LeftArrow) turn.rotate(90);
    if (arrow == Qt::RightArrow) turn.rotate(-90);
    const QPointF centre = QRectF(rect).center();
    QPolygonF triangle;
    for (const QPointF& point : kDown) triangle << centre + turn.map(point);
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing);
    canvas.setBrush(canvas.pen().color());
    canvas.drawPolygon(triangle);
    canvas.restore();
}

// The caption right of the glyph; while the button has the focus, a dotted frame round the
// caption marks it (unless the skin component's options say no focus rectangle).
void DrawCaptionBeside(QPainter& painter, const QAbstractButton& button, const QRect& rect,
                       int glyphWidth, const TSkinData& data) {
    const QRect text = rect.adjusted(glyphWidth + kGlyphGap, 0, 0, 0);
    painter.setFont(button.font());
    const QColor colour = button.palette().color(
        button.isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    painter.setPen(colour);
    QRect drawn;
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, button.text(),
                     &drawn);
    if (!button.hasFocus() || data.Options.Contains(xoNoFocusRect) || drawn.isEmpty()) return;
    painter.save();
    painter.setPen(QPen(colour, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    const QRect mark = drawn.adjusted(-kFocusMargin, 0, kFocusMargin, 0) & rect;
    painter.drawRect(mark.adjusted(0, 0, -1, -1));
    painter.restore();
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

const QAbstractButton* TSkinButton::Button() const {
    return qobject_cast<const QAbstractButton*>(control_.data());
}

int TSkinButton::Frame() const {
    const QAbstractButton* button = Button();
    const auto* push = qobject_cast<const QPushButton*>(button);
    const auto* tool = qobject_cast<const QToolButton*>(button);
    const bool pressed = button && (button->isDown() || button->isChecked());
    if (tool && tool->autoRaise() && !pressed && !Hot()) return 0;
    const bool focused = control_->hasFocus() || (push && push->isDefault());
    return ButtonFrame(focused, pressed, Hot(), control_->isEnabled());
}

QColor TSkinButton::CaptionColour(int frame) const {
    const TSkinModel& model = Model();
    const TDataSkinButton& b = model.Buttons;
    TColor colour = model.Colours.ButtonText;
    if (frame <= 1 && b.NormalColour2Given) colour = b.NormalColour2;
    if (frame == 4 && b.MouseOverColour2Given) colour = b.MouseOverColour2;
    if (frame == 2 && b.PressedColour2Given) colour = b.PressedColour2;
    if (!control_->isEnabled()) colour = clBtnShadow;
    return ColorToQColor(colour);
}

// Composed off-screen and copied to the button in one block.
void TSkinButton::Paint(QPainter& painter, const QRect& rect) {
    const TSkinModel& model = Model();
    const int frame = Frame();
    QImage image(rect.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(transparent_ || frame == 0 ? QColor(Qt::transparent)
                                          : ColorToQColor(model.Colours.ButtonFace));
    QPainter canvas(&image);
    const QRect face(QPoint(0, 0), rect.size());
    if (frame > 0) DrawElement(canvas, face, model.Buttons, frame);
    canvas.setPen(CaptionColour(frame));
    canvas.setFont(control_->font());
    PaintContent(canvas, face);
    canvas.end();
    painter.drawImage(rect.topLeft(), image);
}

void TSkinButton::PaintContent(QPainter& canvas, const QRect& rect) {
    const QAbstractButton* button = Button();
    if (!button) return;
    int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    if (control_->property("MultiLine").toBool()) flags |= Qt::TextWordWrap;
    canvas.drawText(rect, flags, button->text());
}

// ---- buttons with icons ------------------------------------------------------------------------

void TSkinBitButton::PaintContent(QPainter& canvas, const QRect& rect) {
    const QAbstractButton* button = Button();
    if (!button || button->icon().isNull()) {
        TSkinButton::PaintContent(canvas, rect);
        return;
    }
    DrawIconAndText(canvas, rect, *button, IconAndText::Beside);
}

// ---- tool buttons ------------------------------------------------------------------------------

void TSkinSpeedButton::PaintContent(QPainter& canvas, const QRect& rect) {
    const auto* tool = qobject_cast<const QToolButton*>(control_.data());
    if (!tool) {
        TSkinBitButton::PaintContent(canvas, rect);
        return;
    }
    if (tool->arrowType() != Qt::NoArrow) {
        DrawArrow(canvas, rect, tool->arrowType());
        return;
    }
    Qt::ToolButtonStyle style = tool->toolButtonStyle();
    if (style == Qt::ToolButtonFollowStyle) {
        style = static_cast<Qt::ToolButtonStyle>(
            tool->style()->styleHint(QStyle::SH_ToolButtonStyle, nullptr, tool));
    }
    IconAndText layout = IconAndText::Beside;
    if (style == Qt::ToolButtonIconOnly && !tool->icon().isNull()) layout = IconAndText::IconOnly;
    if (style == Qt::ToolButtonTextOnly) layout = IconAndText::TextOnly;
    if (style == Qt::ToolButtonTextUnderIcon) layout = IconAndText::Under;
    DrawIconAndText(canvas, rect, *tool, layout);
}

// ---- drop-down buttons -------------------------------------------------------------------------

void TSkinMenuButton::PaintContent(QPainter& canvas, const QRect& rect) {
    const QAbstractButton* button = Button();
    if (!button) return;
    const QRect arrow(rect.right() - kMenuArrowWidth - kMenuArrowInset + 1, rect.top(),
                      kMenuArrowWidth, rect.height());
    DrawIconAndText(canvas, rect.adjusted(0, 0, -(kMenuArrowWidth + kMenuArrowInset), 0), *button,
                    IconAndText::Beside);
    DrawArrow(canvas, arrow, Qt::DownArrow);
    const auto* tool = qobject_cast<const QToolButton*>(button);
    if (tool && tool->popupMode() == QToolButton::MenuButtonPopup) {
        canvas.drawLine(arrow.left() - 1, rect.top() + kMenuArrowInset, arrow.left() - 1,
                        rect.bottom() - kMenuArrowInset);
    }
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
    DrawCaptionBeside(painter, *box, rect, width, data_);
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
    DrawCaptionBeside(painter, *button, rect, width, data_);
}

}  // namespace vardo
