#include "WinSkinForm.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSizeGrip>
#include <QStyleHints>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

#include <algorithm>

#include "SkinDrawing.h"
#include "SkinEvents.h"
#include "SkinManage.h"
#include "WinSkinControl.h"
#include "WinSkinData.h"
#include "WinSkinMenu.h"

namespace vardo {

namespace {

bool ActionIs(int action, std::initializer_list<int> values) {
    return std::find(values.begin(), values.end(), action) != values.end();
}

// The frame's timer: what the window system may not tell a frameless window (see Tick).
constexpr int kFrameTimerInterval = 250;

// The children of a bare window that get a skinner, by class, as a bare window's children are
// known: buttons by their kind (tool buttons among them), combo boxes, edits, size grips, tab bars,
// progress bars, the scroll bars of list and tree views, and tool bars and child dialogs as
// containers. Labels, frames and the rest keep their own painting on the window's skinned face.
bool SkinnedInBareWindow(const QWidget& control) {
    return qobject_cast<const QPushButton*>(&control) ||
           qobject_cast<const QToolButton*>(&control) || qobject_cast<const QCheckBox*>(&control) ||
           qobject_cast<const QRadioButton*>(&control) ||
           qobject_cast<const QComboBox*>(&control) || qobject_cast<const QLineEdit*>(&control) ||
           qobject_cast<const QSizeGrip*>(&control) || qobject_cast<const QTabBar*>(&control) ||
           qobject_cast<const QProgressBar*>(&control) ||
           qobject_cast<const QAbstractItemView*>(&control) ||
           qobject_cast<const QToolBar*>(&control) || qobject_cast<const QDialog*>(&control);
}

// Sets a window's flags without hiding it: the window system takes the new decorations on the
// mapped window, so it keeps its place and stays on screen.
void SetFlagsInPlace(QWidget& window, Qt::WindowFlags flags) {
    if (QWindow* handle = window.windowHandle()) {
        window.overrideWindowFlags(flags);
        handle->setFlags(flags);
    } else {
        window.setWindowFlags(flags);
    }
}

QSize Grown(QSize size, const QMargins& margins) {
    const auto grow = [](int value, int by) {
        return value >= QWIDGETSIZE_MAX ? value : std::min(value + by, QWIDGETSIZE_MAX);
    };
    return {grow(size.width(), margins.left() + margins.right()),
            grow(size.height(), margins.top() + margins.bottom())};
}

// The frame edges hold the skin's "Stretch" value, where 1 means stretch the middle: the
// element drawing's tile switch is the other way round.
TDataSkinBorder EdgeForDrawing(const TDataSkinBorder& edge) {
    TDataSkinBorder drawn = edge;
    drawn.Tile = edge.Tile == 1 ? 0 : 1;
    return drawn;
}

QColor TitleColour(const TSkinModel& model, bool active) {
    const TColor given = active ? model.Title.ActiveTextColour : model.Title.InactiveTextColour;
    if (given != kTitleColourNotGiven) return ColorToQColor(given);
    return ColorToQColor(active ? model.Colours.TitleTextActive : model.Colours.TitleTextNoActive);
}

// The pixels of image that are not magenta, as runs of each row.
QRegion OpaqueRegion(const QImage& image) {
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    std::vector<QRect> runs;
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < pixels.width()) {
            while (x < pixels.width() && (line[x] & 0xFFFFFFu) == 0xFF00FFu) ++x;
            const int start = x;
            while (x < pixels.width() && (line[x] & 0xFFFFFFu) != 0xFF00FFu) ++x;
            if (x > start) runs.emplace_back(start, y, x - start, 1);
        }
    }
    QRegion region;
    region.setRects(runs.data(), static_cast<int>(runs.size()));
    return region;
}

Qt::CursorShape CursorFor(THitCode hit) {
    switch (hit) {
        case htLeft:
        case htRight:
            return Qt::SizeHorCursor;
        case htTop:
        case htBottom:
            return Qt::SizeVerCursor;
        case htTopLeft:
        case htBottomRight:
            return Qt::SizeFDiagCursor;
        case htTopRight:
        case htBottomLeft:
            return Qt::SizeBDiagCursor;
        default:
            return Qt::ArrowCursor;
    }
}

Qt::Edges EdgesFor(THitCode hit) {
    switch (hit) {
        case htLeft:
            return Qt::LeftEdge;
        case htRight:
            return Qt::RightEdge;
        case htTop:
            return Qt::TopEdge;
        case htBottom:
            return Qt::BottomEdge;
        case htTopLeft:
            return Qt::TopEdge | Qt::LeftEdge;
        case htTopRight:
            return Qt::TopEdge | Qt::RightEdge;
        case htBottomLeft:
            return Qt::BottomEdge | Qt::LeftEdge;
        case htBottomRight:
            return Qt::BottomEdge | Qt::RightEdge;
        default:
            return {};
    }
}

}  // namespace

// ---- caption buttons ----------------------------------------------------------------------------

void TWinSysButton::Paint() {
    form_.RepaintFrame();
}

namespace {

// The first click on the caption icon opens the system menu, which then has the mouse: the second
// press of a double click reaches the menu, not the frame. Seen there, on the icon and within the
// double-click time of the first press, it closes the menu and the window (a posted close, as the
// close command is). Lives as long as the menu.
class TIconDoubleClick final : public QObject {
  public:
    TIconDoubleClick(QMenu& menu, QWidget& window, const QRect& icon, quint64 firstPress)
        : QObject(&menu), menu_(menu), window_(&window), icon_(icon), firstPress_(firstPress) {
        menu.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (watched != &menu_ ||
            (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)) {
            return false;
        }
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const quint64 interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
        if (mouse->button() != Qt::LeftButton ||
            !icon_.contains(mouse->globalPosition().toPoint()) ||
            mouse->timestamp() - firstPress_ > interval) {
            return false;
        }
        menu_.hide();
        if (window_) QTimer::singleShot(0, window_, &QWidget::close);
        return true;
    }

  private:
    QMenu& menu_;
    QPointer<QWidget> window_;
    QRect icon_;  // global
    quint64 firstPress_;
};

}  // namespace

// ---- the window's frame swap -------------------------------------------------------------------

// Makes the window frameless with the skin's frame inside it, and gives it back as it was. A
// resizable window keeps its outer size (its client area shrinks by the skin's frame, as under the
// window manager's frame); a window of fixed size keeps its client size, since its content is
// laid out for exactly that size.
class TWinSkinForm::FrameSwap {
  public:
    FrameSwap(QWidget& window, const QMargins& frame) : window_(window) {
        flags_ = window.windowFlags();
        margins_ = window.contentsMargins();
        minimum_ = window.minimumSize();
        maximum_ = window.maximumSize();
        mask_ = window.mask();
        tracking_ = window.hasMouseTracking();
        hadCursor_ = window.testAttribute(Qt::WA_SetCursor);
        cursor_ = window.cursor();
        const QRect client = window.geometry();
        // The native window's frame is read afresh from the window manager; the widget's copy
        // can still hold the size it had before the window manager framed the window.
        const QRect outer =
            window.windowHandle() ? window.windowHandle()->frameGeometry() : window.frameGeometry();
        decorationOffset_ = client.topLeft() - outer.topLeft();
        const bool fixed = minimum_ == maximum_;
        const QSize size = fixed ? Grown(client.size(), frame) : outer.size();
        decoration_ = size - client.size();

        SetFlagsInPlace(window, flags_ | Qt::FramelessWindowHint);
        window.setMouseTracking(true);
        Place(frame);
        if (window.isMaximized() || window.isMinimized()) return;
        window.setGeometry(QRect(outer.topLeft(), size));
    }

    // Another skin's frame: a fixed window grows or shrinks with it.
    void Change(const QMargins& frame) {
        const QMargins delta = frame - applied_;
        Place(frame);
        if (minimum_ != maximum_ || window_.isMaximized() || window_.isMinimized()) return;
        const QSize change(delta.left() + delta.right(), delta.top() + delta.bottom());
        decoration_ += change;
        window_.resize(window_.size() + change);
    }

    void Restore() {
        const QRect outer = window_.geometry();
        Place(QMargins());
        window_.setContentsMargins(margins_);
        SetFlagsInPlace(window_, flags_);
        window_.setMouseTracking(tracking_);
        if (hadCursor_) {
            window_.setCursor(cursor_);
        } else {
            window_.unsetCursor();
        }
        if (mask_.isEmpty()) {
            window_.clearMask();
        } else {
            window_.setMask(mask_);
        }
        if (window_.isMaximized() || window_.isMinimized()) return;
        window_.setGeometry(QRect(outer.topLeft() + decorationOffset_, outer.size() - decoration_));
    }

    const QCursor& OwnCursor() const { return cursor_; }
    bool HadCursor() const { return hadCursor_; }

  private:
    // Puts the client area inside frame: a window with a layout gets it as contents margins;
    // the children of a window without one move by the frame's top-left.
    void Place(const QMargins& frame) {
        const QPoint shift(frame.left() - applied_.left(), frame.top() - applied_.top());
        if (!window_.layout() && !shift.isNull()) {
            for (QWidget* child : window_.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (!child->isWindow()) child->move(child->pos() + shift);
            }
        }
        // After the move: a window that places its children from its contents rectangle does so
        // when that rectangle changes, and must not be moved again.
        window_.setContentsMargins(margins_ + frame);
        window_.setMinimumSize(Grown(minimum_, frame));
        window_.setMaximumSize(Grown(maximum_, frame));
        applied_ = frame;
    }

    QWidget& window_;
    Qt::WindowFlags flags_;
    QMargins margins_;
    QMargins applied_;
    QSize minimum_;
    QSize maximum_;
    QRegion mask_;
    bool tracking_ = false;
    bool hadCursor_ = false;
    QCursor cursor_;
    QPoint decorationOffset_;
    QSize decoration_;
};

// ---- the window's face --------------------------------------------------------------------

// The window's background in the skin's ButtonFace and the text on it in the skin's WindowText
// (the children inherit both), and back. They come from the skin together, so that text stays
// readable on a dark face.
class TWinSkinForm::Face {
  public:
    // A form that chose its own colour keeps it; a bare window always takes the skin's.
    Face(QWidget& window, bool keepOwnColour) : window_(window) {
        hadPalette_ = window.testAttribute(Qt::WA_SetPalette);
        palette_ = window.palette();
        ownColour_ = keepOwnColour && palette_.color(QPalette::Window) !=
                                          QApplication::palette(&window).color(QPalette::Window);
    }

    void Set(const TSkinModel& model) {
        if (ownColour_) return;
        QPalette palette = WithText(window_.palette(), ColorToQColor(model.Colours.WindowText));
        palette.setColor(QPalette::Window, ColorToQColor(model.Colours.ButtonFace));
        window_.setPalette(palette);
    }

    void Restore() { window_.setPalette(hadPalette_ ? palette_ : QPalette()); }

    QColor OwnTextColour() const { return palette_.color(QPalette::WindowText); }

  private:
    QWidget& window_;
    bool hadPalette_ = false;
    QPalette palette_;
    bool ownColour_ = false;
};

// ---- TWinSkinForm ----------------------------------------------------------------------------

TWinSkinForm::TWinSkinForm(QWidget& window, TSkinData& data)
    : window_(&window), data_(data), class_(ClassifyWindow(window)) {
    data_.Manager().MarkStarted();
    timer_.setInterval(kFrameTimerInterval);
    connect(&timer_, &QTimer::timeout, this, &TWinSkinForm::Tick);
    frameSkinned_ = FrameWanted();
    window.installEventFilter(this);
    connect(&window, &QObject::destroyed, this, [this] { state_ = ssDead; });
    if (frameSkinned_) {
        keys_ = std::make_unique<TMenuKeys>(*this);
        UpdateFrameSizes();
    } else {
        state_ = ssActive;
    }
}

bool TWinSkinForm::FrameWanted() const {
    return data_.SkinControls.Contains(xcMainMenu) && class_.BorderKind != bkNoCaption &&
           !SkinGapsOf(Model()).FrameUnusable();
}

TWinSkinForm::~TWinSkinForm() {
    if (window_) window_->removeEventFilter(this);
}

const TSkinModel& TWinSkinForm::Model() const {
    return data_.Model();
}

// A successful load replaces the model; the sizes and buttons read from the old one are stale
// until the manager's reload runs.
bool TWinSkinForm::ModelChanged() const {
    return modelGeneration_ != data_.ModelGeneration();
}

bool TWinSkinForm::ModelCurrent() {
    if (!ModelChanged()) return true;
    if (!reloadPending_) {
        reloadPending_ = true;
        QTimer::singleShot(0, this, [this] {
            reloadPending_ = false;
            Reload();
        });
    }
    return false;
}

QRect TWinSkinForm::ClientRect() const {
    if (!window_) return {};
    return window_->rect().marginsRemoved(window_->contentsMargins());
}

// The window's menu bar moves into the frame when it has items.
void TWinSkinForm::UpdateFrameSizes() {
    modelGeneration_ = data_.ModelGeneration();
    if (menu_) {
        menu_->BuildMenuBar();
    } else if (auto* bar = window_->findChild<QMenuBar*>()) {
        if (bar->window() == window_) {
            menu_ = std::make_unique<TWinSkinMenu>(*this, *bar);
        }
    }
    frame_ = FrameSizesOf(Model(), class_.BorderKind, menu_ ? menu_->Height() : 0);
    MakeCaptionButtons();
}

QRect TWinSkinForm::MenuBarRect() const {
    return QRect(frame_.Left, frame_.Caption, window_->width() - frame_.Left - frame_.Right,
                 frame_.MenuBar);
}

void TWinSkinForm::MakeCaptionButtons() {
    current_ = pressed_ = nullptr;
    buttons_.clear();
    const auto& elements = Model().CaptionButtons;
    for (int index = 0; index < static_cast<int>(elements.size()); ++index) {
        buttons_.push_back(std::make_unique<TWinSysButton>(*this, index));
    }
    LayoutCaptionButtons();
}

TCaptionState TWinSkinForm::CaptionState() const {
    TCaptionState state;
    state.BorderKind = class_.BorderKind;
    state.StandardDialog = class_.StandardDialog;
    state.ButtonSet = class_.ButtonSet;
    state.Maximised = sizeState_ == ssMaximised;
    state.Active = active_;
    state.Ask = [this](int code, int action) {
        return window_ ? SendSkinEvent(window_, kSkinVisibilityQuery, code, action) : 0;
    };
    return state;
}

QFont TWinSkinForm::TitleFont() const {
    QFont font = data_.CaptionFont();
    font.setPixelSize(std::max(Model().Title.FontHeight, 1));
    return font;
}

QString TWinSkinForm::TitleText() const {
    return QStringLiteral(" ") + (window_ ? window_->windowTitle() : QString());
}

TTitleLayout TWinSkinForm::TitleLayout() const {
    const bool rightToLeft = window_ && window_->layoutDirection() == Qt::RightToLeft;
    int popupButtonsLeft = 0;
    if (window_ && window_->windowType() == Qt::Popup) {
        for (const auto& button : buttons_) {
            const TDataSkinSysButton& element = *Model().CaptionButtons[button->ElementIndex];
            if (button->Visible && element.Align == 1) {
                popupButtonsLeft = std::max(popupButtonsLeft, button->Rect.left());
            }
        }
    }
    return LayoutTitle(Model(), QFontMetrics(TitleFont()), TitleText(),
                       window_ ? window_->width() : 0, frame_, class_.BorderKind, rightToLeft,
                       popupButtonsLeft);
}

void TWinSkinForm::LayoutCaptionButtons() {
    // Buttons read from a model a load has replaced wait for the reload.
    if (!window_ || modelGeneration_ == 0 || ModelChanged()) return;
    const TCaptionState state = CaptionState();
    const int menuBarMargin = Model().MenuBar ? Model().MenuBar->LeftMargin : 0;
    // Buttons placed beside the title need its box, and the title of a popup ends before the
    // right-aligned buttons: the others are placed first.
    const QRect noTitle;
    for (const auto& button : buttons_) {
        const TDataSkinSysButton& element = *Model().CaptionButtons[button->ElementIndex];
        const int width = element.Bitmap.width() / std::max(element.FrameCount, 1);
        button->Visible = CaptionButtonVisible(element, state);
        button->Enabled = CaptionButtonEnabled(element, class_.ButtonSet);
        button->Rect = QRect(
            CaptionButtonPosition(element, width, window_->width(), frame_, menuBarMargin, noTitle),
            QSize(width, element.Bitmap.height()));
        if (IsSystemMenuAction(element.Action) && element.Bitmap.isNull()) {
            button->Rect.setSize(data_.IconBitmap().size());
        }
    }
    if (menu_) menu_->Layout(MenuBarRect());
    const QRect textBox = TitleLayout().TextBox;
    for (const auto& button : buttons_) {
        const TDataSkinSysButton& element = *Model().CaptionButtons[button->ElementIndex];
        if (!ActionIs(element.Align, {2, 3, 8, 9})) continue;
        button->Rect.moveTopLeft(CaptionButtonPosition(
            element, button->Rect.width(), window_->width(), frame_, menuBarMargin, textBox));
    }
}

void TWinSkinForm::SwitchOn() {
    if (!window_ || state_ == ssDead || state_ == ssDestroying) return;
    active_ = window_->isActiveWindow();
    if (window_->isMaximized()) sizeState_ = ssMaximised;
    if (window_->isMinimized()) sizeState_ = ssMinimised;
    state_ = ssFirstPaint;
    ApplySkin();
    SkinControls();
    state_ = ssActive;
}

void TWinSkinForm::Reload() {
    // Before its switch-on the window has taken nothing from the skin: the switch-on reads it.
    if (!window_ || state_ == ssAttached || state_ == ssDead || state_ == ssDestroying) return;
    state_ = ssReloading;
    ApplySkin();
    for (const auto& control : controls_) control->Refresh();
    state_ = ssActive;
}

void TWinSkinForm::ApplySkin() {
    frameSkinned_ = FrameWanted();
    if (frameSkinned_) {
        // A reload may bring a frame back that an incomplete skin took away: its keys come too.
        if (!keys_) keys_ = std::make_unique<TMenuKeys>(*this);
        UpdateFrameSizes();
        if (swap_) {
            swap_->Change(frame_.Margins());
        } else {
            swap_ = std::make_unique<FrameSwap>(*window_, frame_.Margins());
        }
        LayoutCaptionButtons();
        regionSize_ = QSize();
        UpdateRegion();
    } else {
        DropFrame();
    }
    if (swap_ || class_.StandardDialog) {
        if (!face_) face_ = std::make_unique<Face>(*window_, !class_.StandardDialog);
        face_->Set(Model());
    } else if (face_) {
        face_->Restore();
        face_.reset();
    }
    // The timer serves the skinned frame only.
    if (swap_) {
        timer_.start();
    } else {
        timer_.stop();
    }
    window_->update();
}

// The window manager's frame comes back; the caption buttons and the skinned menu bar go.
void TWinSkinForm::DropFrame() {
    current_ = pressed_ = nullptr;
    buttons_.clear();
    keys_.reset();
    menu_.reset();
    frame_ = {};
    modelGeneration_ = 0;
    if (swap_) {
        swap_->Restore();
        swap_.reset();
    }
}

void TWinSkinForm::Detach() {
    if (!window_) return;
    timer_.stop();
    window_->removeEventFilter(this);
    controls_.clear();
    keys_.reset();
    menu_.reset();
    for (const KeptFace& kept : keptFaces_) {
        if (kept.panel) kept.panel->setPalette(kept.hadPalette ? kept.palette : QPalette());
    }
    keptFaces_.clear();
    if (swap_) {
        swap_->Restore();
        swap_.reset();
    }
    if (face_) {
        face_->Restore();
        face_.reset();
    }
    window_->update();
    state_ = ssDead;
}

TSkinControl* TWinSkinForm::ControlSkinner(const QWidget* control) const {
    for (const auto& skinner : controls_) {
        if (skinner->Control() == control) return skinner.get();
    }
    return nullptr;
}

void TWinSkinForm::SkinControls() {
    if (!window_) return;
    for (QWidget* control : window_->findChildren<QWidget*>()) {
        if (control->isWindow() || ControlSkinner(control)) continue;
        if (class_.StandardDialog) {
            if (!SkinnedInBareWindow(*control)) continue;
        } else if (face_ && KeepsOwnFace(*control, data_)) {
            keptFaces_.push_back(
                {control, control->testAttribute(Qt::WA_SetPalette), control->palette()});
            control->setPalette(WithText(control->palette(), face_->OwnTextColour()));
            continue;
        }
        if (std::unique_ptr<TSkinControl> skinner = SkinControl(*control, data_)) {
            skinner->InitSkin(false);
            controls_.push_back(std::move(skinner));
        }
    }
}

void TWinSkinForm::RepaintFrame() {
    if (!window_) return;
    window_->update(QRegion(window_->rect()) - ClientRect());
}

// ---- painting --------------------------------------------------------------------------------

void TWinSkinForm::PaintEdges(QPainter& painter) const {
    const TSkinModel& model = Model();
    const int width = window_->width();
    const int height = window_->height();
    const int frame = active_ ? 1 : 2;
    DrawElement(painter, QRect(0, 0, frame_.Left, height), EdgeForDrawing(model.FrameLeft), frame,
                FrameAxis::SideBySide);
    DrawElement(painter, QRect(width - frame_.Right, 0, frame_.Right, height),
                EdgeForDrawing(model.FrameRight), frame, FrameAxis::SideBySide);
    DrawElement(painter,
                QRect(frame_.Left, height - frame_.Bottom, width - frame_.Left - frame_.Right,
                      frame_.Bottom),
                EdgeForDrawing(model.FrameBottom), frame, FrameAxis::Stacked);
    if (menu_) {
        menu_->PaintMenuBar(painter, MenuBarRect(), active_);
    } else if (frame_.MenuBar > 0) {
        painter.fillRect(MenuBarRect(), model.ButtonFaceBrush);
    }
}

void TWinSkinForm::PaintCaptionButton(QPainter& painter, const TWinSysButton& button) const {
    const TDataSkinSysButton& element = *Model().CaptionButtons[button.ElementIndex];
    if (element.Bitmap.isNull()) {
        if (IsSystemMenuAction(element.Action)) {
            painter.drawImage(button.Rect.topLeft(), MagentaTransparent(data_.IconBitmap()));
        }
        return;
    }
    // Normal, pressed and hot; a six-frame button has the inactive window's three after them.
    int frame = button.State == TNCObject::sPressed ? 2 : button.State == TNCObject::sHot ? 3 : 1;
    if (!button.Enabled) frame = 1;
    if (element.FrameCount >= 6 && !active_) frame += 3;
    DrawElement(painter, button.Rect, element, frame, FrameAxis::SideBySide);
}

// The caption is composed off-screen and copied in one block.
void TWinSkinForm::PaintCaption(QPainter& painter) const {
    const TSkinModel& model = Model();
    const int width = window_->width();
    if (width <= 0 || frame_.Caption <= 0) return;
    QImage caption(width, frame_.Caption, QImage::Format_ARGB32_Premultiplied);
    caption.fill(Qt::transparent);
    QPainter canvas(&caption);
    const int frame = active_ ? 1 : 2;
    DrawElement(canvas, QRect(frame_.Left, 0, width - frame_.Left - frame_.Right, frame_.Caption),
                EdgeForDrawing(model.FrameTop), frame, FrameAxis::Stacked);

    const TTitleLayout title = TitleLayout();
    if (!model.Title.Bitmap.isNull()) {
        DrawElement(canvas, title.TextBox, model.Title, frame, FrameAxis::Stacked);
    }
    canvas.setFont(TitleFont());
    canvas.setPen(TitleColour(model, active_));
    const QString elided =
        canvas.fontMetrics().elidedText(TitleText(), Qt::ElideRight, title.TextRect.width());
    canvas.drawText(title.TextRect, title.Alignment | Qt::AlignVCenter | Qt::TextSingleLine,
                    elided);

    for (const auto& button : buttons_) {
        if (button->Visible) PaintCaptionButton(canvas, *button);
    }
    canvas.end();
    painter.drawImage(0, 0, caption);
}

QImage TWinSkinForm::RenderFrame() const {
    if (!window_ || modelGeneration_ == 0 || ModelChanged()) return {};
    QImage image(window_->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    PaintEdges(painter);
    PaintCaption(painter);
    return image;
}

void TWinSkinForm::PaintFrameOver(QWidget& window) {
    QPainter painter(&window);
    painter.setClipRegion(QRegion(window.rect()) - ClientRect());
    PaintEdges(painter);
    PaintCaption(painter);
}

QRegion TWinSkinForm::FrameRegion() const {
    const TSkinModel& model = Model();
    const QRect whole = window_->rect();
    const bool shaped = model.FrameLeft.Trans || model.FrameRight.Trans || model.FrameTop.Trans;
    if (!shaped) return whole;
    const int width = whole.width();
    const int height = whole.height();
    const int frame = active_ ? 1 : 2;
    QRegion region = ClientRect();
    region +=
        QRect(frame_.Left, frame_.Caption, width - frame_.Left - frame_.Right, frame_.MenuBar);
    const auto addEdge = [&](const TDataSkinBorder& edge, const QRect& target, FrameAxis axis,
                             int thickness) {
        if (target.isEmpty()) return;
        if (!edge.Trans || thickness <= 1) {
            region += target;
            return;
        }
        const QImage strip = RenderElement(EdgeForDrawing(edge), target.size(), frame, axis);
        if (strip.isNull()) {
            region += target;
            return;
        }
        region += OpaqueRegion(strip).translated(target.topLeft());
    };
    addEdge(model.FrameLeft, QRect(0, 0, frame_.Left, height), FrameAxis::SideBySide, frame_.Left);
    addEdge(model.FrameRight, QRect(width - frame_.Right, 0, frame_.Right, height),
            FrameAxis::SideBySide, frame_.Right);
    addEdge(model.FrameTop,
            QRect(frame_.Left, 0, width - frame_.Left - frame_.Right, frame_.Caption),
            FrameAxis::Stacked, frame_.Caption);
    addEdge(model.FrameBottom,
            QRect(frame_.Left, height - frame_.Bottom, width - frame_.Left - frame_.Right,
                  frame_.Bottom),
            FrameAxis::Stacked, frame_.Bottom);
    return region;
}

// The shape follows the size only: it is rebuilt when the size changed.
void TWinSkinForm::UpdateRegion() {
    if (!window_ || !swap_ || window_->size() == regionSize_) return;
    regionSize_ = window_->size();
    const QRegion region = FrameRegion();
    if (region == QRegion(window_->rect())) {
        window_->clearMask();
    } else {
        window_->setMask(region);
    }
}

// ---- the mouse on the frame ------------------------------------------------------------------

TNCObject* TWinSkinForm::ObjectAt(QPoint point) const {
    for (const auto& button : buttons_) {
        if (button->Visible && button->Rect.contains(point)) return button.get();
    }
    return menu_ ? menu_->HitTest(point) : nullptr;
}

void TWinSkinForm::ShowHitCursor(THitCode hit) {
    if (hit == htClient) {
        if (swap_ && swap_->HadCursor()) {
            window_->setCursor(swap_->OwnCursor());
        } else {
            window_->unsetCursor();
        }
        return;
    }
    window_->setCursor(CursorFor(hit));
}

bool TWinSkinForm::HandleMouse(QMouseEvent& event) {
    const QPoint point = event.position().toPoint();
    const THitCode hit =
        FrameHitTest(window_->size(), frame_, class_.Resizable && sizeState_ == ssNormal, point);
    TNCObject* object = ObjectAt(point);
    switch (event.type()) {
        case QEvent::MouseMove:
            if (dragging_) {
                const QPoint now = event.globalPosition().toPoint();
                window_->move(window_->pos() + (now - dragPoint_));
                dragPoint_ = now;
                return true;
            }
            if (pressed_) return true;
            ShowHitCursor(hit);
            if (hit == htClient) {
                if (current_) current_->MouseLeave();
                return false;
            }
            if (object) {
                if (object != current_) object->MouseEnter();
            } else if (current_) {
                current_->MouseLeave();
            }
            return true;
        case QEvent::MouseButtonPress:
            if (hit == htClient) return false;
            if (event.button() == Qt::RightButton && hit == htCaption && !object) {
                ShowSystemMenu(event.globalPosition().toPoint());
                return true;
            }
            if (event.button() != Qt::LeftButton) return true;
            if (object) {
                if (!active_) window_->activateWindow();
                if (auto* menuButton = dynamic_cast<TMenuBtn*>(object)) {
                    // The menu takes the mouse from here on.
                    menu_->OpenMenu(*menuButton);
                    return true;
                }
                object->MouseDown();
                pressed_ = object;
                pressTime_ = event.timestamp();
                return true;
            }
            if (hit == htCaption) {
                if (sizeState_ == ssMaximised) return true;
                QWindow* handle = window_->windowHandle();
                if (!handle || !handle->startSystemMove()) {
                    dragging_ = true;
                    dragPoint_ = event.globalPosition().toPoint();
                }
                return true;
            }
            if (const Qt::Edges edges = EdgesFor(hit)) {
                if (QWindow* handle = window_->windowHandle()) handle->startSystemResize(edges);
            }
            return true;
        case QEvent::MouseButtonRelease: {
            dragging_ = false;
            if (!pressed_) return hit != htClient;
            TNCObject* released = pressed_;
            pressed_ = nullptr;
            if (object == released) {
                released->MouseUp();
                if (auto* button = dynamic_cast<TWinSysButton*>(released)) {
                    RunAction(*button, event.globalPosition().toPoint());
                }
            } else {
                released->MouseLeave();
            }
            return true;
        }
        case QEvent::MouseButtonDblClick:
            if (hit == htClient) return false;
            if (event.button() == Qt::LeftButton) {
                if (auto* button = dynamic_cast<TWinSysButton*>(object)) {
                    const auto& element = *Model().CaptionButtons[button->ElementIndex];
                    if (IsSystemMenuAction(element.Action))
                        QTimer::singleShot(0, window_, &QWidget::close);
                    return true;
                }
                if (hit == htCaption) CaptionDoubleClick(point);
            }
            return true;
        default:
            return false;
    }
}

void TWinSkinForm::CaptionDoubleClick(QPoint) {
    if (sizeState_ != ssNormal) {
        window_->showNormal();
    } else if (class_.ButtonSet & kMaximiseBox) {
        window_->showMaximized();
    }
}

void TWinSkinForm::RunAction(const TWinSysButton& button, QPoint globalPoint) {
    const TDataSkinSysButton& element = *Model().CaptionButtons[button.ElementIndex];
    QWidget* window = window_;
    const int action = element.Action;
    if (action == 0) {
        // Posted, as the close command is: the button finishes its release first.
        QTimer::singleShot(0, window, &QWidget::close);
    } else if (ActionIs(action, {1, 22})) {
        if (!button.Enabled) return;
        if (sizeState_ == ssMaximised) {
            window->showNormal();
        } else {
            window->showMaximized();
        }
    } else if (ActionIs(action, {2, 23})) {
        if (!button.Enabled) return;
        if (sizeState_ == ssMinimised) {
            window->showNormal();
        } else {
            window->showMinimized();
        }
    } else if (IsSystemMenuAction(action)) {
        QMenu* menu = ShowSkinnedSystemMenu(*window, data_, sizeState_, class_, globalPoint);
        const QRect icon(window->mapToGlobal(button.Rect.topLeft()), button.Rect.size());
        new TIconDoubleClick(*menu, *window, icon, pressTime_);
    } else if (ActionIs(action, {7, 60, 8, 61, 9, 62})) {
        // The buttons of a maximised MDI child: the program has no MDI windows.
    } else {
        QCoreApplication::postEvent(window, new SkinEvent(kSkinCaptionAction, action));
    }
}

// The window's system menu as a popup of the engine's own, so the skin's popup menus draw it.
void TWinSkinForm::ShowSystemMenu(QPoint globalPoint) {
    if (window_) ShowSkinnedSystemMenu(*window_, data_, sizeState_, class_, globalPoint);
}

void TWinSkinForm::ForgetObject(const TNCObject& object) {
    if (current_ == &object) current_ = nullptr;
    if (pressed_ == &object) pressed_ = nullptr;
}

// ---- the timer -------------------------------------------------------------------------------

// On X a frameless window is not always told what happens around it: the pointer can leave a
// hot caption button straight for another window without a leave event, and an activation can
// change while the window's events go elsewhere (a modal box of another window). The timer looks
// while the window is active; it costs a pointer query four times a second.
void TWinSkinForm::Tick() {
    if (!window_ || Dead() || !swap_) {
        timer_.stop();
        return;
    }
    if (window_->isActiveWindow() != active_) {
        active_ = !active_;
        if (ModelCurrent()) {
            LayoutCaptionButtons();
            RepaintFrame();
        }
    }
    // Caption buttons are hot only under the pointer of an active window.
    if (current_ && !pressed_ &&
        (!active_ || !current_->Rect.contains(window_->mapFromGlobal(QCursor::pos())))) {
        current_->MouseLeave();
    }
    if (!active_) timer_.stop();
}

// ---- the window's events ---------------------------------------------------------------------

bool TWinSkinForm::AnswerOutsideRequest(QEvent& event) {
    auto* request = dynamic_cast<SkinEvent*>(&event);
    if (!request) return false;
    if (IsSkinEvent(&event, kSkinPresence)) {
        request->SetResult(request->Detail() == kOutsidePaintKey ? kOutsidePaintKey : 1);
        return true;
    }
    if (!IsSkinEvent(&event, kSkinPaintBars) || request->Detail() != kOutsidePaintKey) {
        return false;
    }
    // Without a painter (no device given) only the answer goes back.
    auto* paint = dynamic_cast<SkinPaintEvent*>(request);
    if (paint && swap_ && ModelCurrent()) {
        try {
            PaintEdges(paint->Painter());
            PaintCaption(paint->Painter());
        } catch (const std::exception&) {
            // A frame that cannot be painted leaves the device as it was painted so far.
        }
    }
    request->SetResult(kOutsidePaintKey);
    return true;
}

bool TWinSkinForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_ || state_ == ssDead || state_ == ssDestroying) return false;
    QWidget& window = *window_;
    if (IsSkinEvent(event, kSkinQuery)) {
        static_cast<SkinEvent*>(event)->SetResult(1);
        return true;
    }
    if (IsSkinEvent(event, kSkinSwitchOn)) {
        SwitchOn();
        return true;
    }
    if (IsSkinEvent(event, kSkinRepaintFrame)) {
        RepaintFrame();
        return true;
    }
    if (AnswerOutsideRequest(*event)) return true;
    const bool painting = swap_ &&
                          (state_ == ssActive || state_ == ssReloading || state_ == ssFirstPaint) &&
                          ModelCurrent();
    switch (event->type()) {
        case QEvent::Paint:
            if (!painting) return false;
            // The window paints itself first; the frame goes over the margins around it.
            static_cast<QObject&>(window).event(event);
            PaintFrameOver(window);
            return true;
        case QEvent::Resize:
            if (!painting) return false;
            LayoutCaptionButtons();
            UpdateRegion();
            return false;
        case QEvent::WindowStateChange:
            sizeState_ = window.isMinimized()   ? ssMinimised
                         : window.isMaximized() ? ssMaximised
                                                : ssNormal;
            if (painting) {
                LayoutCaptionButtons();
                RepaintFrame();
            }
            return false;
        case QEvent::ActivationChange:
            active_ = window.isActiveWindow();
            if (active_ && swap_) {
                timer_.start();
            } else if (!active_) {
                timer_.stop();
                if (current_ && !pressed_) current_->MouseLeave();
            }
            if (painting) {
                LayoutCaptionButtons();
                RepaintFrame();
            }
            return false;
        case QEvent::WindowTitleChange:
            if (painting) {
                LayoutCaptionButtons();
                RepaintFrame();
            }
            return false;
        case QEvent::Leave:
            if (current_ && !pressed_) current_->MouseLeave();
            return false;
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            if (!painting) return false;
            return HandleMouse(static_cast<QMouseEvent&>(*event));
        default:
            return false;
    }
}

}  // namespace vardo
