#include "MyShape.h"
#include "MyShapeText.h"
#include "ShapeRender.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTimer>

namespace vardo::test {

namespace {

// Delivers a mouse event at `local` in the control, with an explicit screen position.
void SendMouse(QWidget& widget, QEvent::Type type, QPoint local, QPoint screen,
               Qt::MouseButton button = Qt::NoButton, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent event(type, QPointF(local), QPointF(screen), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

void Hover(QWidget& widget, QPoint local) {
    SendMouse(widget, QEvent::MouseMove, local, widget.mapToGlobal(local));
}

// A parent with a plain red background and one control on it.
struct ShapeOnParent {
    QWidget parent;
    TMyShape* shape;

    ShapeOnParent() {
        parent.resize(400, 400);
        parent.setAutoFillBackground(true);
        QPalette palette = parent.palette();
        palette.setColor(QPalette::Window, Qt::red);
        parent.setPalette(palette);
        shape = new TMyShape(&parent);
        shape->move(100, 100);
        parent.show();
    }
};

}  // namespace

// --- painting ----------------------------------------------------------------------------------

TEST(MyShapePaint, NewControl_IsTransparentBlueTextOf64By56) {
    ShapeOnParent bed;
    EXPECT_EQ(bed.shape->size(), QSize(64, 56));
    EXPECT_EQ(bed.shape->DrawShape(), TMyShape::dsText);
    EXPECT_EQ(bed.shape->property("Color").toUInt(), 0xFF0000u);
    EXPECT_EQ(bed.shape->property("PenWidth").toInt(), 3);
    EXPECT_EQ(bed.shape->property("FontName").toString(), QStringLiteral("宋体"));

    // The parent's red shows through an empty caption; without transparency the colour fills.
    QImage image = bed.parent.grab().toImage();
    EXPECT_EQ(PixelAt(image, 130, 125), QColor(Qt::red));
    bed.shape->SetbkTransParent(false);
    image = bed.parent.grab().toImage();
    EXPECT_EQ(PixelAt(image, 130, 125), QColor(0, 0, 255));
    EXPECT_EQ(PixelAt(image, 163, 155), QColor(0, 0, 255));
    EXPECT_EQ(PixelAt(image, 164, 156), QColor(Qt::red));
}

TEST(MyShapePaint, FittedText_IsOutlinedInRgb16_AroundTheFontColour) {
    TMyShape shape;
    shape.resize(200, 80);
    shape.SetFontSize(26);
    shape.SetCaption(QStringLiteral("星期三 W"));
    const QColor grey(128, 128, 128);
    const QImage image = Render(shape, grey);

    // Every blend lies between the outline, the white text and the grey: nothing darker than
    // the outline, and the outline's own colour where it covers whole pixels.
    int darkest = 255;
    int outlinePixels = 0;
    int whitePixels = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = PixelAt(image, x, y);
            darkest = std::min({darkest, c.red(), c.green(), c.blue()});
            if (c == QColor(16, 16, 16)) ++outlinePixels;
            if (c == QColor(Qt::white)) ++whitePixels;
        }
    }
    EXPECT_EQ(darkest, 16);
    EXPECT_GT(outlinePixels, 20);
    EXPECT_GT(whitePixels, 20);
}

TEST(MyShapePaint, DrawFittedText_ShrinksToTheLargestFittingSize_StopsAtTwo) {
    QImage image(300, 200, QImage::Format_RGB32);
    QPainter painter(&image);
    ShapeCanvas canvas(painter);
    canvas.font.font.setFamily(QStringLiteral("DejaVu Sans"));
    const QString text = QStringLiteral("WWWWWWWWWW");

    // A box the text fits at some size: the size reached is the first that fits.
    canvas.font.SetSize(40);
    const TRect box{0, 0, 102, 60};
    DrawFittedText(text, TMyShape::taCenter, canvas, false, false, box);
    const int fitted = canvas.font.Size();
    EXPECT_LT(fitted, 40);
    EXPECT_LE(canvas.TextWidth(text), 100);
    canvas.font.SetSize(fitted + 1);
    EXPECT_GT(canvas.TextWidth(text), 100);

    // A text too wide for any size stops at size 2; a font already at 2 is lowered once.
    canvas.font.SetSize(30);
    DrawFittedText(text, TMyShape::taCenter, canvas, false, false, {0, 0, 6, 200});
    EXPECT_EQ(canvas.font.Size(), 2);
    DrawFittedText(text, TMyShape::taCenter, canvas, false, false, {0, 0, 6, 200});
    EXPECT_EQ(canvas.font.Size(), 1);

    // Keeping the size leaves the font as it is.
    canvas.font.SetSize(30);
    DrawFittedText(text, TMyShape::taCenter, canvas, true, false, {0, 0, 6, 4});
    EXPECT_EQ(canvas.font.Size(), 30);
}

TEST(MyShapePaint, Picture_AtItsOwnSizeOrStretchedOverTheControl) {
    TMyShape shape;
    QPixmap picture(10, 10);
    picture.fill(Qt::red);
    shape.SetPicture(picture);
    const QImage natural = Render(shape);
    EXPECT_EQ(PixelAt(natural, 9, 9), QColor(Qt::red));
    EXPECT_EQ(PixelAt(natural, 20, 20), QColor(0, 255, 0));
    shape.SetStretch(true);
    const QImage stretched = Render(shape);
    EXPECT_EQ(PixelAt(stretched, 20, 20), QColor(Qt::red));
    EXPECT_EQ(PixelAt(stretched, 63, 55), QColor(Qt::red));
}

TEST(MyShapePaint, Editting_DrawsEightRedFramedBlackHandles_AtTheCornersAndMiddles) {
    TMyShape shape;
    shape.SetEditting(true);
    const QImage image = Render(shape);
    // Handle 1 spans 0..7: red outline, black inside; handle 8 ends at the control's edge.
    EXPECT_EQ(PixelAt(image, 0, 0), QColor(Qt::red));
    EXPECT_EQ(PixelAt(image, 7, 7), QColor(Qt::red));
    EXPECT_EQ(PixelAt(image, 4, 4), QColor(Qt::black));
    EXPECT_EQ(PixelAt(image, 8, 8), QColor(0, 255, 0));
    EXPECT_EQ(PixelAt(image, 63, 55), QColor(Qt::red));
    EXPECT_EQ(PixelAt(image, 60, 52), QColor(Qt::black));
    EXPECT_EQ(PixelAt(image, 32, 4), QColor(Qt::black));  // top middle
    EXPECT_EQ(PixelAt(image, 4, 28), QColor(Qt::black));  // left middle
}

// --- editing handles and resizing --------------------------------------------------------------

TEST(MyShapeHandles, HitTesting_UsesHalfOpenRectangles_AndSetsTheHandleCursor) {
    ShapeOnParent bed;
    TMyShape& shape = *bed.shape;  // 64 x 56: middles at x 28..35, y 24..31
    shape.SetEditting(true);
    struct Case {
        QPoint point;
        int zone;
        Qt::CursorShape cursor;
    };
    const Case cases[] = {
        {{0, 0}, 1, Qt::SizeFDiagCursor},   {{7, 7}, 1, Qt::SizeFDiagCursor},
        {{8, 8}, 0, Qt::ArrowCursor},       {{8, 0}, 0, Qt::ArrowCursor},
        {{27, 0}, 0, Qt::ArrowCursor},      {{28, 0}, 2, Qt::SizeVerCursor},
        {{35, 7}, 2, Qt::SizeVerCursor},    {{36, 0}, 0, Qt::ArrowCursor},
        {{56, 0}, 3, Qt::SizeBDiagCursor},  {{0, 24}, 4, Qt::SizeHorCursor},
        {{0, 32}, 0, Qt::ArrowCursor},      {{63, 31}, 5, Qt::SizeHorCursor},
        {{7, 55}, 6, Qt::SizeBDiagCursor},  {{28, 48}, 7, Qt::SizeVerCursor},
        {{63, 55}, 8, Qt::SizeFDiagCursor}, {{55, 47}, 0, Qt::ArrowCursor},
    };
    for (const Case& c : cases) {
        Hover(shape, c.point);
        EXPECT_EQ(shape.ResizeZone(), c.zone) << c.point.x() << "," << c.point.y();
        EXPECT_EQ(shape.cursor().shape(), c.cursor) << c.point.x() << "," << c.point.y();
    }

    // Outside editing mode hovering finds no handle.
    Hover(shape, {2, 2});
    shape.SetEditting(false);
    Hover(shape, {30, 30});
    EXPECT_EQ(shape.ResizeZone(), 1);
}

TEST(MyShapeHandles, DraggingTopLeftHandle_ResizesAndMoves_BelowMinimumEndsTheResize) {
    ShapeOnParent bed;
    TMyShape& shape = *bed.shape;
    shape.SetEditting(true);
    shape.SetCanZoom(true);
    const QPoint screen(1000, 1000);

    Hover(shape, {2, 2});
    ASSERT_EQ(shape.ResizeZone(), 1);
    SendMouse(shape, QEvent::MouseButtonPress, {2, 2}, screen, Qt::LeftButton, Qt::LeftButton);
    SendMouse(shape, QEvent::MouseMove, {22, 12}, screen + QPoint(20, 10), Qt::NoButton,
              Qt::LeftButton);
    EXPECT_EQ(shape.geometry(), QRect(120, 110, 44, 46));

    // A width of 4 would be too narrow: it becomes 8 and nothing else of the step applies.
    SendMouse(shape, QEvent::MouseMove, {42, 32}, screen + QPoint(60, 30), Qt::NoButton,
              Qt::LeftButton);
    EXPECT_EQ(shape.geometry(), QRect(120, 110, 8, 46));
    EXPECT_EQ(shape.ResizeZone(), 0);

    // The resize has ended: further moves do not resize.
    SendMouse(shape, QEvent::MouseMove, {0, 0}, screen + QPoint(0, 0), Qt::NoButton,
              Qt::LeftButton);
    EXPECT_EQ(shape.size(), QSize(8, 46));
}

TEST(MyShapeHandles, DraggingBottomHandle_ChangesOnlyTheHeight_NotBelowEight) {
    ShapeOnParent bed;
    TMyShape& shape = *bed.shape;
    shape.SetEditting(true);
    shape.SetCanZoom(true);
    const QPoint screen(500, 500);
    Hover(shape, {30, 52});
    ASSERT_EQ(shape.ResizeZone(), 7);
    SendMouse(shape, QEvent::MouseButtonPress, {30, 52}, screen, Qt::LeftButton, Qt::LeftButton);
    SendMouse(shape, QEvent::MouseMove, {35, 72}, screen + QPoint(5, 20), Qt::NoButton,
              Qt::LeftButton);
    EXPECT_EQ(shape.geometry(), QRect(100, 100, 64, 76));
    SendMouse(shape, QEvent::MouseMove, {35, 0}, screen + QPoint(5, -40), Qt::NoButton,
              Qt::LeftButton);
    EXPECT_EQ(shape.geometry(), QRect(100, 100, 64, 16));
    SendMouse(shape, QEvent::MouseMove, {35, 0}, screen + QPoint(5, -50), Qt::NoButton,
              Qt::LeftButton);
    EXPECT_EQ(shape.geometry(), QRect(100, 100, 64, 8));
    EXPECT_EQ(shape.ResizeZone(), 0);
}

// --- pressing, clicking and moving -------------------------------------------------------------

TEST(MyShapeMouse, PressSinksTheFrame_ReleaseInsideClicks_AndRestoresIt) {
    ShapeOnParent bed;
    TMyShape& shape = *bed.shape;
    QSignalSpy clicks(&shape, &TMyShape::click);
    QSignalSpy downs(&shape, &TMyShape::mouseDown);
    QSignalSpy ups(&shape, &TMyShape::mouseUp);

    SendMouse(shape, QEvent::MouseButtonPress, {10, 10}, {0, 0}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(shape.IsPressed());
    EXPECT_EQ(shape.CurrentFrameState(), TMyShape::FrameState::Sunken);
    const QImage sunken = Render(shape);
    EXPECT_EQ(PixelAt(sunken, 0, 0), QColor(128, 128, 128));
    EXPECT_EQ(PixelAt(sunken, 63, 55), QColor(Qt::white));

    SendMouse(shape, QEvent::MouseButtonRelease, {12, 12}, {0, 0}, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(downs.count(), 1);
    EXPECT_EQ(ups.count(), 1);
    EXPECT_FALSE(shape.IsPressed());
    EXPECT_EQ(shape.CurrentFrameState(), TMyShape::FrameState::Normal);
    EXPECT_EQ(PixelAt(Render(shape), 0, 0), QColor(0, 255, 0));
}

TEST(MyShapeMouse, LeavingWhilePressed_CancelsThePress_ReleaseOutsideDoesNotClick) {
    ShapeOnParent bed;
    TMyShape& shape = *bed.shape;
    QSignalSpy clicks(&shape, &TMyShape::click);
    SendMouse(shape, QEvent::MouseButtonPress, {10, 10}, {0, 0}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(shape, QEvent::MouseMove, {70, 10}, {0, 0}, Qt::NoButton, Qt::LeftButton);
    EXPECT_FALSE(shape.IsPressed());
    EXPECT_EQ(shape.CurrentFrameState(), TMyShape::FrameState::Normal);
    SendMouse(shape, QEvent::MouseButtonRelease, {10, 10}, {0, 0}, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 0);
}

TEST(MyShapeMouse, Movable_FollowsThePointerKeepingTheGrabOffset) {
    ShapeOnParent bed;
    TMyShape& shape = *bed.shape;
    shape.SetMovable(true);
    SendMouse(shape, QEvent::MouseButtonPress, {10, 10}, {0, 0}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(shape, QEvent::MouseMove, {30, 25}, {0, 0}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(shape.pos(), QPoint(120, 115));
    // The pointer is again 10, 10 inside the moved control.
    SendMouse(shape, QEvent::MouseMove, {5, 10}, {0, 0}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(shape.pos(), QPoint(115, 115));
}

TEST(MyShapeMouse, DisabledControl_IgnoresPressesReleasesAndHover) {
    ShapeOnParent bed;
    TMyShape& shape = *bed.shape;
    shape.setEnabled(false);
    QSignalSpy clicks(&shape, &TMyShape::click);
    QSignalSpy downs(&shape, &TMyShape::mouseDown);
    QSignalSpy enters(&shape, &TMyShape::mouseEnter);
    SendMouse(shape, QEvent::MouseButtonPress, {10, 10}, {0, 0}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(shape.IsPressed());
    EXPECT_EQ(shape.CurrentFrameState(), TMyShape::FrameState::Normal);
    SendMouse(shape, QEvent::MouseButtonRelease, {10, 10}, {0, 0}, Qt::LeftButton);
    QEnterEvent enter(QPointF(5, 5), QPointF(105, 105), QPointF(105, 105));
    QApplication::sendEvent(&shape, &enter);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(downs.count(), 0);
    EXPECT_EQ(enters.count(), 0);
    EXPECT_FALSE(shape.IsPointerInside());
}

TEST(MyShapeMouse, RightPressWithMenu_EndsThePressFirst_AndDropsClicksMadeMeanwhile) {
    ShapeOnParent bed;
    TMyShape& shape = *bed.shape;
    QMenu menu;
    menu.addAction(QStringLiteral("Item"));
    shape.SetPopUpMenu(&menu);

    // A widget that counts the presses it gets.
    struct PressCounter : QWidget {
        using QWidget::QWidget;
        int presses = 0;
        void mousePressEvent(QMouseEvent*) override { ++presses; }
    };
    PressCounter other(&bed.parent);
    other.setGeometry(10, 10, 50, 50);
    other.show();

    bool pressedWhileOpen = true;
    QObject* owner = nullptr;
    QTimer::singleShot(0, &menu, [&] {
        pressedWhileOpen = shape.IsPressed();
        owner = menu.property(TMyShape::PopupOwnerProperty).value<QObject*>();
        QApplication::postEvent(
            &other, new QMouseEvent(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(15, 15),
                                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        menu.close();
    });
    SendMouse(shape, QEvent::MouseButtonPress, {10, 10}, {0, 0}, Qt::RightButton, Qt::RightButton);
    QApplication::processEvents();

    EXPECT_FALSE(pressedWhileOpen);
    EXPECT_EQ(owner, &shape);
    EXPECT_EQ(other.presses, 0);
    EXPECT_FALSE(shape.IsPressed());

    // Once the menu is gone the control forgets it.
    shape.SetPopUpMenu(new QMenu);
    delete shape.PopUpMenu();
    EXPECT_EQ(shape.PopUpMenu(), nullptr);
}

TEST(MyShapeMouse, RightPressWhoseReleaseDeletesTheMenu_ShowsNoMenu) {
    ShapeOnParent bed;
    TMyShape& shape = *bed.shape;
    auto* menu = new QMenu;
    menu->addAction(QStringLiteral("Item"));
    shape.SetPopUpMenu(menu);
    QObject::connect(&shape, &TMyShape::mouseUp, menu, [menu] { delete menu; });

    SendMouse(shape, QEvent::MouseButtonPress, {10, 10}, {0, 0}, Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(shape.PopUpMenu(), nullptr);
    EXPECT_FALSE(shape.IsPressed());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

}  // namespace vardo::test
