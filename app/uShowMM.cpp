#include "uShowMM.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMoveEvent>
#include <QScreen>
#include <QTimer>

namespace vardo {

namespace {

// The form's green (the toolkit's "green", not lime).
constexpr QColor kTextColour{0, 128, 0};

QRect DesktopRect() {
    QRect desktop;
    for (const QScreen* screen : QGuiApplication::screens()) desktop |= screen->geometry();
    return desktop;
}

int SnapAxis(int start, int length, int areaStart, int areaLength, int distance) {
    if (std::abs(start - areaStart) <= distance) return areaStart;
    const int areaEnd = areaStart + areaLength;
    if (std::abs(start + length - areaEnd) <= distance) return areaEnd - length;
    return start;
}

}  // namespace

TFrmMM::TFrmMM(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint),
      plMM_(new QLabel(this)) {
    setObjectName("FrmMM");
    setAttribute(Qt::WA_DeleteOnClose);
    resize(kDesignSize);
    setMinimumSize(kMinimumSize);

    // FormCreate: the background is black.
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::black);
    setPalette(background);
    setAutoFillBackground(true);

    plMM_->setObjectName("plMM");
    plMM_->setWordWrap(true);
    plMM_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    plMM_->setAttribute(Qt::WA_TranslucentBackground);
    QFont font("WenQuanYi Micro Hei");
    font.setPixelSize(kFontPixels);
    plMM_->setFont(font);
    QPalette text = plMM_->palette();
    text.setColor(QPalette::WindowText, kTextColour);
    plMM_->setPalette(text);
}

QPoint TFrmMM::SnapToEdges(const QRect& frame, const QRect& area, int distance) {
    return {SnapAxis(frame.left(), frame.width(), area.left(), area.width(), distance),
            SnapAxis(frame.top(), frame.height(), area.top(), area.height(), distance)};
}

// The label fills the client area's width: the whole window, or inside a skin's frame.
int TFrmMM::LabelHeight() const {
    return plMM_->heightForWidth(contentsRect().width());
}

void TFrmMM::FitHeightToText() {
    const QMargins frame = contentsMargins();
    resize(width(), std::max(LabelHeight() + frame.top() + frame.bottom(), minimumHeight()));
}

void TFrmMM::FormShow() {
    // The client area fits the wrapped text; then the window is centred on all monitors.
    FitHeightToText();
    const QRect desktop = DesktopRect();
    const QSize outer = frameGeometry().size();
    move(desktop.left() + (desktop.width() - outer.width()) / 2,
         desktop.top() + (desktop.height() - outer.height()) / 2);
}

void TFrmMM::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) FormShow();
    QWidget::showEvent(event);
}

void TFrmMM::PlaceLabel() {
    const QRect client = contentsRect();
    plMM_->setGeometry(client.left(), client.top(), client.width(), LabelHeight());
}

void TFrmMM::resizeEvent(QResizeEvent* event) {
    PlaceLabel();
    QWidget::resizeEvent(event);
}

// A skin's frame changes the client area, and the skin keeps the window's outer size: once it has
// placed the window, the window takes the height its text needs inside the frame.
void TFrmMM::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ContentsRectChange) {
        PlaceLabel();
        QTimer::singleShot(0, this, [this] { FitHeightToText(); });
    }
    QWidget::changeEvent(event);
}

void TFrmMM::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (snapping_ || !isVisible() || screen() == nullptr) return;
    const QRect frame = frameGeometry();
    const QPoint snapped = SnapToEdges(frame, screen()->availableGeometry(), kSnapDistance);
    if (snapped == frame.topLeft()) return;
    snapping_ = true;
    move(snapped);
    snapping_ = false;
}

}  // namespace vardo
