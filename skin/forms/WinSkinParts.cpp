#include "WinSkinParts.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSizeGrip>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include <algorithm>

#include "SkinDrawing.h"
#include "SkinEvents.h"
#include "WinSkinData.h"

namespace vardo {

namespace {

// The width of the edge an edit keeps around its text.
constexpr int kEdgeWidth = 2;
// The combined combo box image's button: the scroll-bar arrow width and its edge.
constexpr int kComboButtonWidth = 18;
// Text inset of a drop-down list.
constexpr int kTextInset = 4;
// The size grip's dots: rows of them from the corner, their size and their distance.
constexpr int kGripRows = 3;
constexpr int kGripDot = 2;
constexpr int kGripPitch = 4;

bool LeftButtonDown() {
    return QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
}

bool CursorIn(const QWidget& widget, const QRect& rect) {
    return widget.underMouse() && rect.contains(widget.mapFromGlobal(QCursor::pos()));
}

// Track-bar thumb frames of our skins: normal, pressed, disabled, hot, focused.
int ThumbFrame(bool enabled, bool pressed, bool hot, bool focused) {
    if (!enabled) return 3;
    if (pressed) return 2;
    if (hot) return 4;
    return focused ? 5 : 1;
}

// Where the spin box's style puts its up or down button.
QRect SpinButtonRect(const QWidget& control, QStyle::SubControl button) {
    const auto* spin = qobject_cast<const QAbstractSpinBox*>(&control);
    if (!spin) return {};
    QStyleOptionSpinBox option;
    option.initFrom(spin);
    option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    option.buttonSymbols = spin->buttonSymbols();
    option.frame = spin->hasFrame();
    return spin->style()->subControlRect(QStyle::CC_SpinBox, &option, button, spin);
}

// The direct children of a status bar that are its panels (its size grip is not one).
QList<QWidget*> StatusPanels(const QWidget& bar) {
    QList<QWidget*> panels = bar.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    panels.removeIf([](const QWidget* child) { return qobject_cast<const QSizeGrip*>(child); });
    return panels;
}

}  // namespace

int PartFrame(bool enabled, bool pressed, bool hot) {
    if (!enabled) return 4;
    if (pressed) return 3;
    return hot ? 2 : 1;
}

// ---- edits -------------------------------------------------------------------------------------

bool TSkinEdit::BeforeMessage(QEvent* event) {
    if (SkinPaintEvent* request = OutsidePaintRequest(event, kSkinPaintEdit)) {
        control_->render(&request->Painter(), QPoint());
        request->SetResult(kOutsidePaintKey);
        return false;
    }
    return TSkinControl::BeforeMessage(event);
}

bool TSkinEdit::CanPaint() const {
    return Model().SunkEdge != nullptr;
}

void TSkinEdit::Paint(QPainter& painter, const QRect& rect) {
    const int frame = PartFrame(control_->isEnabled(), control_->hasFocus(), Hot());
    painter.save();
    painter.setClipRegion(QRegion(rect) -
                          rect.adjusted(kEdgeWidth, kEdgeWidth, -kEdgeWidth, -kEdgeWidth));
    DrawElement(painter, rect, *Model().SunkEdge, frame);
    painter.restore();
}

// ---- drop-down lists ---------------------------------------------------------------------------

TSkinComBox::~TSkinComBox() = default;

void TSkinComBox::InitSkin(bool setColour) {
    TSkinControl::InitSkin(setColour);
    auto* combo = qobject_cast<QComboBox*>(control_.data());
    if (!combo || !data_.SkinControls.Contains(xcScrollbar)) return;
    list_ = std::make_unique<TComboxScrollBar>(*combo->view(), data_);
    list_->InitSkin(false);
}

bool TSkinComBox::CanPaint() const {
    const auto* combo = qobject_cast<const QComboBox*>(control_.data());
    return combo && !combo->isEditable() && Model().ComboButton && Model().ComboButton->Style == 2;
}

void TSkinComBox::Paint(QPainter& painter, const QRect& rect) {
    const auto& combo = static_cast<const QComboBox&>(*control_);
    const bool enabled = combo.isEnabled();
    const QPalette& palette = combo.palette();
    painter.fillRect(rect, palette.color(enabled ? QPalette::Base : QPalette::Window));
    const bool hot = Hot();
    DrawElement(painter, rect, *Model().ComboButton,
                PartFrame(enabled, hot && LeftButtonDown(), hot || combo.hasFocus()));
    const QRect text = rect.adjusted(kTextInset, 0, -(kComboButtonWidth + kTextInset), 0);
    painter.setFont(combo.font());
    painter.setPen(palette.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    painter.drawText(
        text, Qt::AlignLeft | Qt::AlignVCenter,
        painter.fontMetrics().elidedText(combo.currentText(), Qt::ElideRight, text.width()));
}

// ---- spin boxes --------------------------------------------------------------------------------

// Hover events tell which arrow is under the mouse.
void TSkinUpDown::InitSkin(bool setColour) {
    TSkinEdit::InitSkin(setColour);
    if (!control_) return;
    hadHover_ = control_->testAttribute(Qt::WA_Hover);
    control_->setAttribute(Qt::WA_Hover);
}

TSkinUpDown::~TSkinUpDown() {
    if (control_) control_->setAttribute(Qt::WA_Hover, hadHover_);
}

QStyle::SubControl TSkinUpDown::ButtonAt(const QPoint& at) const {
    for (const QStyle::SubControl button : {QStyle::SC_SpinBoxUp, QStyle::SC_SpinBoxDown}) {
        if (SpinButtonRect(*control_, button).contains(at)) return button;
    }
    return QStyle::SC_None;
}

// The arrow under the mouse and the one held down, from the events the spin box gets over its
// buttons (the text area is its line edit's).
void TSkinUpDown::AfterMessage(QEvent* event) {
    TSkinEdit::AfterMessage(event);
    const QStyle::SubControl hot = hot_;
    const QStyle::SubControl pressed = pressed_;
    switch (event->type()) {
        case QEvent::HoverEnter:
        case QEvent::HoverMove:
            hot_ = ButtonAt(static_cast<QHoverEvent*>(event)->position().toPoint());
            break;
        case QEvent::HoverLeave:
        case QEvent::Leave:
            hot_ = QStyle::SC_None;
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) pressed_ = ButtonAt(mouse->position().toPoint());
            break;
        }
        case QEvent::MouseButtonRelease:
            pressed_ = QStyle::SC_None;
            break;
        default:
            break;
    }
    if (hot != hot_ || pressed != pressed_) control_->update();
}

void TSkinUpDown::Paint(QPainter& painter, const QRect& rect) {
    TSkinEdit::Paint(painter, rect);
    const auto* spin = qobject_cast<const QAbstractSpinBox*>(control_.data());
    const TDataSkinBorder* arrows = Model().UpDownVert.get();
    if (!spin || !arrows || spin->buttonSymbols() == QAbstractSpinBox::NoButtons) return;
    const bool enabled = spin->isEnabled();
    for (const auto& [button, first] :
         {std::pair{QStyle::SC_SpinBoxUp, 1}, std::pair{QStyle::SC_SpinBoxDown, 5}}) {
        DrawElement(painter, SpinButtonRect(*spin, button), *arrows,
                    first - 1 + PartFrame(enabled, pressed_ == button, hot_ == button));
    }
}

// ---- track bars --------------------------------------------------------------------------------

bool TSkinTrackBar::CanPaint() const {
    const auto* slider = qobject_cast<const QSlider*>(control_.data());
    if (!slider) return false;
    const TSkinModel& model = Model();
    return slider->orientation() == Qt::Horizontal
               ? model.Track && model.TrackBarThumbs[ttHorz]
               : model.TrackVert && model.TrackBarThumbs[ttVert];
}

void TSkinTrackBar::Paint(QPainter& painter, const QRect& rect) {
    const auto& slider = static_cast<const QSlider&>(*control_);
    const TSkinModel& model = Model();
    const bool horizontal = slider.orientation() == Qt::Horizontal;
    const TDataSkinObject& channel = horizontal ? *model.Track : *model.TrackVert;
    const TDataSkinObject& thumb = *model.TrackBarThumbs[horizontal ? ttHorz : ttVert];
    const QRect cell = FrameCell(thumb, 1, FrameAxis::SideBySide);
    const int thumbLength = horizontal ? cell.width() : cell.height();
    const int length = horizontal ? rect.width() : rect.height();
    const int span = std::max(length - thumbLength, 0);
    const int offset = QStyle::sliderPositionFromValue(
        slider.minimum(), slider.maximum(), slider.value(), span, slider.invertedAppearance());
    const QRect channelCell = FrameCell(channel, 1, FrameAxis::SideBySide);
    QRect groove;
    QRect knob;
    if (horizontal) {
        groove = QRect(rect.left() + thumbLength / 2, rect.center().y() - channelCell.height() / 2,
                       span, channelCell.height());
        knob = QRect(rect.left() + offset, rect.center().y() - cell.height() / 2, cell.width(),
                     cell.height());
    } else {
        groove = QRect(rect.center().x() - channelCell.width() / 2, rect.top() + thumbLength / 2,
                       channelCell.width(), span);
        knob = QRect(rect.center().x() - cell.width() / 2, rect.top() + offset, cell.width(),
                     cell.height());
    }
    DrawElement(painter, groove, channel, 1);
    DrawElement(painter, knob, thumb,
                ThumbFrame(slider.isEnabled(), slider.isSliderDown(), CursorIn(slider, knob),
                           slider.hasFocus()));
}

// ---- status bars -------------------------------------------------------------------------------

TSkinStatusBar::~TSkinStatusBar() {
    GiveBackPanelColours();
}

void TSkinStatusBar::InitSkin(bool setColour) {
    TSkinControl::InitSkin(setColour);
    TakeSkinText();
}

void TSkinStatusBar::Refresh() {
    TakeSkinText();
    TSkinControl::Refresh();
}

// While the skin draws the bar its panels' text is in the skin's text colour, that of the skin
// now on; each panel's own palette is kept from the first time.
void TSkinStatusBar::TakeSkinText() {
    if (!control_) return;
    if (!CanPaint()) {
        GiveBackPanelColours();
        return;
    }
    const QColor text = ColorToQColor(Model().Colours.WindowText);
    for (QWidget* panel : StatusPanels(*control_)) {
        const bool kept = std::any_of(panels_.begin(), panels_.end(),
                                      [&](const PanelPalette& own) { return own.panel == panel; });
        if (!kept)
            panels_.push_back({panel, panel->testAttribute(Qt::WA_SetPalette), panel->palette()});
        panel->setPalette(WithText(panel->palette(), text));
    }
}

void TSkinStatusBar::GiveBackPanelColours() {
    for (const PanelPalette& own : panels_) {
        if (own.panel) own.panel->setPalette(own.hadPalette ? own.palette : QPalette());
    }
    panels_.clear();
}

bool TSkinStatusBar::CanPaint() const {
    return Model().StatusBarEdges != nullptr;
}

void TSkinStatusBar::Paint(QPainter& painter, const QRect& rect) {
    const auto* bar = qobject_cast<const QStatusBar*>(control_.data());
    const TDataSkinObject& edges = *Model().StatusBarEdges;
    DrawElement(painter, rect, edges, 1);
    for (const QWidget* panel : StatusPanels(*control_)) {
        if (panel->isVisible()) DrawElement(painter, panel->geometry(), edges, 2);
    }
    if (bar && !bar->currentMessage().isEmpty()) {
        painter.setPen(bar->palette().color(QPalette::WindowText));
        painter.drawText(rect.adjusted(kTextInset, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         bar->currentMessage());
    }
}

// ---- size grips --------------------------------------------------------------------------------

void TSkinSizer::Paint(QPainter& painter, const QRect& rect) {
    const TSkinColours& colours = Model().Colours;
    if (!qobject_cast<const QStatusBar*>(control_->parentWidget())) {
        painter.fillRect(rect, ColorToQColor(colours.ButtonFace));
    }
    const QColor shadow = ColorToQColor(colours.ButtonShadow);
    const QColor hilight = ColorToQColor(colours.ButtonHilight);
    const bool mirrored = control_->layoutDirection() == Qt::RightToLeft;
    for (int row = 0; row < kGripRows; ++row) {
        for (int column = 0; column + row < kGripRows; ++column) {
            const int fromRight = kGripPitch * column + kGripDot + 1;
            const int x = mirrored ? rect.left() + fromRight - kGripDot : rect.right() - fromRight;
            const int y = rect.bottom() - kGripPitch * row - kGripDot - 1;
            painter.fillRect(x + 1, y + 1, kGripDot, kGripDot, hilight);
            painter.fillRect(x, y, kGripDot, kGripDot, shadow);
        }
    }
}

// ---- scroll bars -------------------------------------------------------------------------------

TSkinScrollbar::~TSkinScrollbar() {
    for (const SkinnedBar& skinned : bars_) {
        QScrollBar* bar = skinned.bar;
        if (!bar) continue;
        bar->removeEventFilter(this);
        bar->setAttribute(Qt::WA_Hover, skinned.hadHover);
        bar->update();
    }
}

void TSkinScrollbar::InitSkin(bool setColour) {
    TSkinControl::InitSkin(setColour);
    auto* area = qobject_cast<QAbstractScrollArea*>(control_.data());
    if (!area) return;
    // Hover events tell which part of a bar is under the mouse.
    for (QScrollBar* bar : BarsOf(*area)) {
        bars_.push_back({bar, bar->testAttribute(Qt::WA_Hover)});
        bar->installEventFilter(this);
        bar->setAttribute(Qt::WA_Hover);
        bar->update();
    }
}

std::vector<QScrollBar*> TSkinScrollbar::BarsOf(QAbstractScrollArea& area) const {
    return {area.horizontalScrollBar(), area.verticalScrollBar()};
}

bool TSkinScrollbar::BeforeMessage(QEvent* event) {
    if (SkinPaintEvent* request = OutsidePaintRequest(event, kSkinPaintBars)) {
        for (const SkinnedBar& skinned : bars_) {
            if (QScrollBar* bar = skinned.bar; bar && bar->isVisible()) {
                bar->render(&request->Painter(), bar->mapTo(control_.data(), QPoint()));
            }
        }
        request->SetResult(kOutsidePaintKey);
        return false;
    }
    return TSkinControl::BeforeMessage(event);
}

bool TSkinScrollbar::eventFilter(QObject* watched, QEvent* event) {
    auto* bar = qobject_cast<QScrollBar*>(watched);
    if (!bar || watched == control_) return TSkinControl::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::Paint:
            return Painting() && PaintBar(*bar);
        case QEvent::HoverMove:
        case QEvent::HoverLeave:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            bar->update();
            return false;
        default:
            return false;
    }
}

// Arrows at both ends, the shaft between them and the thumb in it; the arrows are frames 1-4 (up),
// 5-8 (down), 9-12 (left) and 13-16 (right) of the Scrollbar element.
bool TSkinScrollbar::PaintBar(QScrollBar& bar) {
    const TSkinModel& model = Model();
    const bool horizontal = bar.orientation() == Qt::Horizontal;
    const TDataSkinObject* shaft = horizontal ? model.HorzScroll.get() : model.VertScroll.get();
    const TDataSkinObject* thumb =
        horizontal ? model.HorzScrollThumb.get() : model.VertScrollThumb.get();
    const TDataSkinObject* arrows = model.Scrollbar.get();
    if (!shaft || !thumb || !arrows) return false;

    const QRect rect = bar.rect();
    const int thickness = horizontal ? rect.height() : rect.width();
    const int length = horizontal ? rect.width() : rect.height();
    const int arrow = std::min(thickness, length / 2);
    const auto along = [&](int start, int size) {
        return horizontal ? QRect(start, 0, size, thickness) : QRect(0, start, thickness, size);
    };
    const QRect sub = along(0, arrow);
    const QRect add = along(length - arrow, arrow);
    const QRect groove = along(arrow, length - 2 * arrow);
    const bool enabled = bar.isEnabled() && bar.maximum() > bar.minimum();

    QPainter painter(&bar);
    DrawElement(painter, groove, *shaft, enabled ? 1 : 4);
    const int firstArrow = horizontal ? 9 : 1;
    for (const auto& [button, first] :
         {std::pair{sub, firstArrow}, std::pair{add, firstArrow + 4}}) {
        const bool hot = CursorIn(bar, button);
        DrawElement(painter, button, *arrows,
                    first - 1 + PartFrame(enabled, hot && LeftButtonDown(), hot));
    }
    if (!enabled) return true;
    const int range = bar.maximum() - bar.minimum();
    const int grooveLength = length - 2 * arrow;
    const int thumbLength =
        std::clamp(static_cast<int>(static_cast<long long>(grooveLength) * bar.pageStep() /
                                    std::max(range + bar.pageStep(), 1)),
                   std::min(thickness, grooveLength), grooveLength);
    const int thumbStart = arrow + QStyle::sliderPositionFromValue(
                                       bar.minimum(), bar.maximum(), bar.sliderPosition(),
                                       grooveLength - thumbLength, bar.invertedAppearance());
    const QRect knob = along(thumbStart, thumbLength);
    const bool hot = CursorIn(bar, knob);
    DrawElement(painter, knob, *thumb, bar.isSliderDown() ? 3 : hot ? 2 : 1);
    return true;
}

std::vector<QScrollBar*> TSkinScrollbarH::BarsOf(QAbstractScrollArea& area) const {
    return {area.horizontalScrollBar()};
}

// ---- the list of a drop-down list
// ----------------------------------------------------------------

TComboxScrollBar::~TComboxScrollBar() {
    for (const QPointer<QWidget>& scroller : scrollers_) {
        if (scroller) scroller->removeEventFilter(this);
    }
    if (!popup_) return;
    popup_->removeEventFilter(this);
    popup_->update();
}

void TComboxScrollBar::InitSkin(bool setColour) {
    TSkinScrollbar::InitSkin(setColour);
    if (!control_) return;
    popup_ = control_->window();
    if (popup_ == control_) return;
    popup_->installEventFilter(this);
    popup_->update();
    for (QWidget* child : popup_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->inherits("QComboBoxPrivateScroller")) continue;
        child->installEventFilter(this);
        scrollers_.emplace_back(child);
    }
}

bool TComboxScrollBar::PaintScroller(QWidget& scroller) {
    const TDataSkinObject* arrows = Model().Scrollbar.get();
    if (!arrows) return false;
    const int first = scroller.y() < popup_->height() / 2 ? 1 : 5;
    QPainter painter(&scroller);
    DrawElement(painter, scroller.rect(), *arrows,
                first - 1 + PartFrame(scroller.isEnabled(), false, scroller.underMouse()));
    return true;
}

// The scrolling arrows are drawn in place of their own painting. The popup paints itself first;
// its frame, the margin round its contents, is painted over.
bool TComboxScrollBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched != popup_ && watched->inherits("QComboBoxPrivateScroller")) {
        auto& scroller = static_cast<QWidget&>(*watched);
        if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) scroller.update();
        return event->type() == QEvent::Paint && Painting() && PaintScroller(scroller);
    }
    if (watched != popup_ || event->type() != QEvent::Paint || !Painting()) {
        return TSkinScrollbar::eventFilter(watched, event);
    }
    static_cast<QObject*>(popup_.data())->event(event);
    const QRect outer = popup_->rect();
    const QRect inner = popup_->contentsRect();
    if (inner == outer) return true;
    const TSkinColours& colours = Model().Colours;
    QPainter painter(popup_);
    painter.setClipRegion(QRegion(outer) - inner);
    painter.fillRect(outer, ColorToQColor(colours.ButtonFace));
    painter.setPen(ColorToQColor(colours.ButtonShadow));
    painter.drawRect(outer.adjusted(0, 0, -1, -1));
    return true;
}

}  // namespace vardo
