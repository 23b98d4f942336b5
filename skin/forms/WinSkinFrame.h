#pragma once

// The geometry of a skinned window frame: how a window is classified, how large the skin's frame
// is, what a point of the frame hits, which caption buttons show and where, and where the title
// goes. Pure functions of the skin model and the window's state, so the painter, the mouse
// handling and the tests agree on one layout.

#include <QFont>
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace vardo {

class TDataSkinSysButton;
struct TSkinModel;

enum TBorderKind { bkSizeable = 0, bkFixed = 1, bkNoCaption = 2, bkDialog = 3 };
enum TSizeState { ssNormal = 0, ssMaximised = 1, ssMinimised = 2 };

// Bits of a window's caption-button set.
inline constexpr int kMaximiseBox = 1;
inline constexpr int kMinimiseBox = 2;
inline constexpr int kSystemMenu = 8;

struct TWindowClass {
    QString ClassName;  // the widget's class without its namespace
    TBorderKind BorderKind = bkFixed;
    // A bare window: a dialog of the toolkit's own (a message box, a file dialog, an input
    // dialog) that none of the program's forms is. It has a dialog border without icon, the
    // skin's face and only the children a bare window is known to have are skinned.
    bool StandardDialog = false;
    bool Resizable = false;  // the operator can change its size
    int ButtonSet = 0;
};

// The class name of a widget as the skin engine compares it: its meta-object's name without the
// namespace ("vardo::TFrmMain" -> "TFrmMain").
QString WidgetClassName(const QObject& object);

// Whether window is a bare window (see TWindowClass::StandardDialog): a dialog whose class is
// not one of the program's own.
bool IsBareWindow(const QWidget& window);

TWindowClass ClassifyWindow(const QWidget& window);

// What a skin lacks of the elements a skinned window needs. Without its four edges or without a
// close button a skinned frame would leave the window half drawn or without a way to close, so
// such a skin leaves every window its window manager's frame; without the Buttons image push
// buttons keep their own look.
struct TSkinGaps {
    bool Edges = false;        // one of Top, Left, Right and Bottom has no image
    bool CloseButton = false;  // no caption button closes the window
    bool Buttons = false;      // no Buttons image
    bool FrameUnusable() const { return Edges || CloseButton; }
    bool Any() const { return Edges || CloseButton || Buttons; }
};

TSkinGaps SkinGapsOf(const TSkinModel& model);

// The skin's frame around the client area, in pixels.
struct TSkinFrameSizes {
    int Left = 0;
    int Caption = 0;
    int Right = 0;
    int Bottom = 0;
    int MenuBar = 0;
    QMargins Margins() const { return {Left, Caption + MenuBar, Right, Bottom}; }
};

// Caption height from the Top edge, side widths from the Left and Right edges and the bottom
// height from the Bottom edge, each image divided by its frame count; all 0 without a caption.
TSkinFrameSizes FrameSizesOf(const TSkinModel& model, TBorderKind borderKind, int menuBarHeight);

// Hit codes of the frame (the values the window system uses).
enum THitCode {
    htNowhere = 0,
    htClient = 1,
    htCaption = 2,
    htMenu = 5,
    htLeft = 10,
    htRight = 11,
    htTop = 12,
    htTopLeft = 13,
    htTopRight = 14,
    htBottom = 15,
    htBottomLeft = 16,
    htBottomRight = 17,
    htBorder = 18,
};

// The width of the band along the outer edge of a resizable window that resizes it.
inline constexpr int kResizeBand = 4;

// What a point (window coordinates) of a skinned window hits: the client area, the resize band of
// a resizable window, the caption (a point more than 3 pixels below the top) or the menu bar
// below it; the rest of the frame is border.
THitCode FrameHitTest(QSize window, const TSkinFrameSizes& frame, bool resizable, QPoint point);

// What the caption-button visibility codes are tested against.
struct TCaptionState {
    TBorderKind BorderKind = bkFixed;
    bool StandardDialog = false;
    int ButtonSet = 0;
    bool Maximised = false;
    bool Active = true;
    bool MdiFrameWithMaximisedChild = false;
    // Asked for codes 1000-2000 (code, action); a result above 0 shows the button.
    std::function<int(int code, int action)> Ask;
};

bool CaptionButtonVisible(const TDataSkinSysButton& button, const TCaptionState& state);
// A maximise or minimise button works only when the window has that box.
bool CaptionButtonEnabled(const TDataSkinSysButton& button, int buttonSet);
// Whether the action opens the system menu (the icon button).
bool IsSystemMenuAction(int action);

// Where a button of the given width goes, for a window of the given width whose title text box is
// textBox.
QPoint CaptionButtonPosition(const TDataSkinSysButton& button, int buttonWidth, int windowWidth,
                             const TSkinFrameSizes& frame, int menuBarLeftMargin,
                             const QRect& textBox);

// The title's layout in window coordinates.
struct TTitleLayout {
    QRect TextBox;   // the text's box, widened by the text background's margins
    QRect TextRect;  // where the text itself is drawn, clipped at the right
    Qt::Alignment Alignment = Qt::AlignLeft;
};

// Lays out text in the caption as the skin's title settings say. rightToLeft is the left-scroll-bar
// style (always right-aligned); buttonsLeft is the left edge of the right-aligned buttons of a
// popup window (0 when it has none).
TTitleLayout LayoutTitle(const TSkinModel& model, const QFontMetrics& metrics, const QString& text,
                         int windowWidth, const TSkinFrameSizes& frame, TBorderKind borderKind,
                         bool rightToLeft, int popupButtonsLeft);

}  // namespace vardo
