#include "WinSkinFrame.h"

#include <QDialog>
#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

#include "SkinModel.h"

namespace vardo {

namespace {

// Dialog borders have no icon, so their title starts this much further left.
constexpr int kIconRoom = 16;
// A popup's title ends this far before its right-aligned caption buttons.
constexpr int kPopupTitleGap = 5;

int FrameThickness(const TDataSkinObject& edge, bool stacked) {
    const int frames = std::max(edge.FrameCount, 1);
    return stacked ? edge.Bitmap.height() / frames : edge.Bitmap.width() / frames;
}

bool HasFlag(Qt::WindowFlags flags, Qt::WindowType flag) {
    return (flags & flag) == flag;
}

int ButtonSetOf(const QWidget& window) {
    const Qt::WindowFlags flags = window.windowFlags();
    // Without the customise hint the window system gives a window every box and a dialog its
    // system menu.
    if (!HasFlag(flags, Qt::CustomizeWindowHint)) {
        return window.windowType() == Qt::Dialog ? kSystemMenu
                                                 : kMaximiseBox | kMinimiseBox | kSystemMenu;
    }
    int set = 0;
    if (HasFlag(flags, Qt::WindowMaximizeButtonHint)) set |= kMaximiseBox;
    if (HasFlag(flags, Qt::WindowMinimizeButtonHint)) set |= kMinimiseBox;
    if (HasFlag(flags, Qt::WindowSystemMenuHint) || HasFlag(flags, Qt::WindowCloseButtonHint)) {
        set |= kSystemMenu;
    }
    return set;
}

bool VisibilityAllows(int code, bool first, const TDataSkinSysButton& button,
                      const TCaptionState& state) {
    const bool systemMenu = state.ButtonSet & kSystemMenu;
    switch (code) {
        case 0:
            return true;
        case 1:
            return state.Maximised;
        case 2:
            return !state.Maximised;
        case 3:
            return state.Active;
        case 4:
            return !state.Active;
        case 6:
            return (state.ButtonSet & kMinimiseBox) && (!first || systemMenu);
        case 8:
            return (state.ButtonSet & kMaximiseBox) && (!first || systemMenu);
        case 7:
            return !(state.ButtonSet & kMaximiseBox);
        case 9:
            return !(state.ButtonSet & kMinimiseBox);
        case 100:
            return state.MdiFrameWithMaximisedChild;
        case 200:
            return state.BorderKind == bkDialog && !state.StandardDialog;
        default:
            break;
    }
    if (code >= 201 && code <= 999) return true;
    if (code >= 1000 && code <= 2000) return state.Ask && state.Ask(code, button.Action) > 0;
    return false;
}

}  // namespace

QString WidgetClassName(const QObject& object) {
    const QString name = QString::fromLatin1(object.metaObject()->className());
    const qsizetype colons = name.lastIndexOf(QLatin1String("::"));
    return colons < 0 ? name : name.mid(colons + 2);
}

bool IsBareWindow(const QWidget& window) {
    return qobject_cast<const QDialog*>(&window) &&
           !QByteArray(window.metaObject()->className()).startsWith("vardo::");
}

TWindowClass ClassifyWindow(const QWidget& window) {
    TWindowClass result;
    result.ClassName = WidgetClassName(window);
    result.StandardDialog = IsBareWindow(window);
    result.Resizable = window.minimumSize() != window.maximumSize() &&
                       !window.windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint);
    result.ButtonSet = ButtonSetOf(window);
    const Qt::WindowFlags flags = window.windowFlags();
    const bool captionLess =
        flags.testFlag(Qt::FramelessWindowHint) ||
        (flags.testFlag(Qt::CustomizeWindowHint) && !flags.testFlag(Qt::WindowTitleHint));
    if (captionLess) {
        result.BorderKind = bkNoCaption;
    } else if (window.windowType() == Qt::Dialog || result.StandardDialog) {
        result.BorderKind = bkDialog;
    } else {
        result.BorderKind = result.Resizable ? bkSizeable : bkFixed;
    }
    return result;
}

TSkinGaps SkinGapsOf(const TSkinModel& model) {
    TSkinGaps gaps;
    gaps.Edges = model.FrameTop.Bitmap.isNull() || model.FrameLeft.Bitmap.isNull() ||
                 model.FrameRight.Bitmap.isNull() || model.FrameBottom.Bitmap.isNull();
    gaps.CloseButton = std::none_of(
        model.CaptionButtons.begin(), model.CaptionButtons.end(),
        [](const auto& button) { return button->Action == 0 && !button->Bitmap.isNull(); });
    gaps.Buttons = model.Buttons.Bitmap.isNull();
    return gaps;
}

TSkinFrameSizes FrameSizesOf(const TSkinModel& model, TBorderKind borderKind, int menuBarHeight) {
    TSkinFrameSizes sizes;
    if (borderKind == bkNoCaption) return sizes;
    sizes.Caption = FrameThickness(model.FrameTop, true);
    sizes.Left = FrameThickness(model.FrameLeft, false);
    sizes.Right = FrameThickness(model.FrameRight, false);
    sizes.Bottom = FrameThickness(model.FrameBottom, true);
    sizes.MenuBar = menuBarHeight;
    return sizes;
}

THitCode FrameHitTest(QSize window, const TSkinFrameSizes& frame, bool resizable, QPoint point) {
    const QRect outer(QPoint(0, 0), window);
    if (!outer.contains(point)) return htNowhere;
    if (outer.marginsRemoved(frame.Margins()).contains(point)) return htClient;
    if (resizable) {
        const bool left = point.x() < kResizeBand;
        const bool right = point.x() >= window.width() - kResizeBand;
        const bool top = point.y() < kResizeBand;
        const bool bottom = point.y() >= window.height() - kResizeBand;
        if (top) return left ? htTopLeft : right ? htTopRight : htTop;
        if (bottom) return left ? htBottomLeft : right ? htBottomRight : htBottom;
        if (left) return htLeft;
        if (right) return htRight;
    }
    if (point.y() < frame.Caption) return point.y() > 3 ? htCaption : htBorder;
    if (frame.MenuBar > 0 && point.y() < frame.Caption + frame.MenuBar && point.x() >= frame.Left &&
        point.x() < window.width() - frame.Right) {
        return htMenu;
    }
    return htBorder;
}

bool CaptionButtonVisible(const TDataSkinSysButton& button, const TCaptionState& state) {
    if (!VisibilityAllows(button.Visibility, true, button, state)) return false;
    // The second code hides the button for every code above 100 but the asked ones.
    if (button.Visibility1 > 100 && button.Visibility1 < 1000) return false;
    if (!VisibilityAllows(button.Visibility1, false, button, state)) return false;
    if (button.Action == 0 && !(state.ButtonSet & kSystemMenu)) return false;
    if (IsSystemMenuAction(button.Action) && state.BorderKind == bkDialog) return false;
    return true;
}

bool CaptionButtonEnabled(const TDataSkinSysButton& button, int buttonSet) {
    switch (button.Action) {
        case 1:
        case 22:
            return buttonSet & kMaximiseBox;
        case 2:
        case 23:
            return buttonSet & kMinimiseBox;
        default:
            return true;
    }
}

bool IsSystemMenuAction(int action) {
    return action == 3 || action == 11 || action == 12;
}

QPoint CaptionButtonPosition(const TDataSkinSysButton& button, int buttonWidth, int windowWidth,
                             const TSkinFrameSizes& frame, int menuBarLeftMargin,
                             const QRect& textBox) {
    switch (button.Align) {
        case 1:
            return {windowWidth - button.X, button.Y};
        case 2:
        case 8:
            return {textBox.left() - buttonWidth - button.X, button.Y};
        case 3:
        case 9:
            return {textBox.right() + 1 + button.X, button.Y};
        case 100: {
            const int height = button.Bitmap.height();
            return {windowWidth - button.X - frame.Right - menuBarLeftMargin - buttonWidth,
                    frame.Caption + (frame.MenuBar - height) / 2};
        }
        default:
            return {button.X, button.Y};
    }
}

TTitleLayout LayoutTitle(const TSkinModel& model, const QFontMetrics& metrics, const QString& text,
                         int windowWidth, const TSkinFrameSizes& frame, TBorderKind borderKind,
                         bool rightToLeft, int popupButtonsLeft) {
    const TDataSkinTitle& title = model.Title;
    const int textWidth = metrics.horizontalAdvance(text);
    const int boxWidth = textWidth + title.TextBackLeft + title.TextBackRight;
    int clipRight = windowWidth - title.TextRightClip;
    if (popupButtonsLeft > kPopupTitleGap) clipRight = popupButtonsLeft - kPopupTitleGap;

    const int alignment = rightToLeft ? 2 : title.TextAlignment;
    int left = title.TextShift;
    if (alignment == 1) left = (windowWidth - boxWidth) / 2;
    if (alignment == 2) left = windowWidth - title.TextRightClip - boxWidth;
    if (alignment == 0 && borderKind == bkDialog && title.TextBackground == 0) left -= kIconRoom;

    const int height = metrics.height();
    const int top = (frame.Caption - height) / 2 + title.TextShiftVert / 2;
    TTitleLayout layout;
    layout.TextBox = QRect(left, top, boxWidth, height);
    const int textLeft = left + title.TextBackLeft;
    // The text may use all the room up to the clip: it is elided only where it does not fit.
    layout.TextRect = QRect(textLeft, top, std::max(0, clipRight - textLeft), height);
    layout.Alignment = rightToLeft ? Qt::AlignRight : Qt::AlignLeft;
    return layout;
}

}  // namespace vardo
