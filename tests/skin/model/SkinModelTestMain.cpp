#include <gtest/gtest.h>
#include <QGuiApplication>

// The skin model paints on images and runs its command timer: one application for the run,
// on the offscreen platform (no display needed).
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
