// The reminder pop-up, offscreen, on two virtual monitors side by side as on the test bed.
#include "uShowMM.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTemporaryFile>

namespace vardo {
namespace {

const QString kReminder = QStringLiteral("  提示：任务12\n\r【News】\n\r已经运行了：00:30:00");

QRect DesktopRect() {
    QRect desktop;
    for (const QScreen* screen : QGuiApplication::screens()) desktop |= screen->geometry();
    return desktop;
}

TEST(TFrmMM, Form_IsBlackAlwaysOnTopWithACloseBoxOnly) {
    TFrmMM form;
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form.testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(form.minimumSize(), QSize(200, 80));
    EXPECT_EQ(form.plMM()->font().pixelSize(), 29);
    EXPECT_EQ(form.plMM()->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    EXPECT_TRUE(form.plMM()->wordWrap());
}

TEST(TFrmMM, Show_FitsTheHeightToTheTextAndCentresOnAllMonitors) {
    auto* form = new TFrmMM;
    form->plMM()->setText(kReminder);
    form->show();
    EXPECT_EQ(form->plMM()->text(), kReminder);
    EXPECT_EQ(form->plMM()->geometry(), QRect(0, 0, form->width(), form->height()));
    EXPECT_EQ(form->height(), form->plMM()->heightForWidth(form->width()));
    const QRect desktop = DesktopRect();
    ASSERT_EQ(desktop, QRect(0, 0, 3840, 1080));
    const QRect frame = form->frameGeometry();
    EXPECT_EQ(frame.left(), (desktop.width() - frame.width()) / 2);
    EXPECT_EQ(frame.top(), (desktop.height() - frame.height()) / 2);
    form->close();
}

TEST(TFrmMM, Show_LongDescriptionWrapsAndGrowsTheWindow) {
    TFrmMM shortForm;
    shortForm.plMM()->setText(kReminder);
    shortForm.show();
    TFrmMM longForm;
    longForm.plMM()->setText(QStringLiteral("  提示：任务1\n\r【") + QString(120, QChar(0x65B0)) +
                             QStringLiteral("】\n\r已经运行了：00:00:05"));
    longForm.show();
    EXPECT_EQ(longForm.width(), shortForm.width());
    EXPECT_GT(longForm.height(), shortForm.height() + 2 * 29);
}

TEST(TFrmMM, SeveralOpen_EachClosedOneIsDestroyedAlone) {
    QPointer<TFrmMM> first = new TFrmMM;
    QPointer<TFrmMM> second = new TFrmMM;
    first->plMM()->setText(kReminder);
    second->plMM()->setText(kReminder);
    first->show();
    second->show();
    EXPECT_EQ(first->geometry(), second->geometry());  // same height, same place
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    ASSERT_FALSE(second.isNull());
    EXPECT_TRUE(second->isVisible());
    second->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(second.isNull());
}

TEST(TFrmMM, SnapToEdges_PullsEdgesWithinTwentyPixels) {
    const QRect screen(1920, 0, 1920, 1080);
    EXPECT_EQ(TFrmMM::SnapToEdges(QRect(1939, 500, 600, 100), screen, 20), QPoint(1920, 500));
    EXPECT_EQ(TFrmMM::SnapToEdges(QRect(1941, 500, 600, 100), screen, 20), QPoint(1941, 500));
    EXPECT_EQ(TFrmMM::SnapToEdges(QRect(3230, 975, 600, 100), screen, 20), QPoint(3240, 980));
    EXPECT_EQ(TFrmMM::SnapToEdges(QRect(1900, -15, 600, 100), screen, 20), QPoint(1920, 0));
}

}  // namespace
}  // namespace vardo

// Two 1920x1080 screens side by side, like the X test bed, whatever QT_QPA_PLATFORM says.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryFile config;
    if (!config.open()) return 2;
    config.write(R"({"screens": [
        {"name": "MON1", "x": 0, "y": 0, "width": 1920, "height": 1080},
        {"name": "MON2", "x": 1920, "y": 0, "width": 1920, "height": 1080}]})");
    config.flush();
    QByteArray platform = "offscreen:configfile=" + config.fileName().toUtf8();
    char name[] = "test_show_mm";
    char platformOption[] = "-platform";
    char* qtArgv[] = {name, platformOption, platform.data(), nullptr};
    int qtArgc = 3;
    QApplication application(qtArgc, qtArgv);
    return RUN_ALL_TESTS();
}
