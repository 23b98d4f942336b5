#include "Prompts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

namespace vardo {
namespace {

// Presses a key in the modal box the prompt opens, once it is up.
void PressInTheBox(Qt::Key key) {
    QTimer::singleShot(0, [key] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr) << "no modal box is open";
        QTest::keyClick(box, key);
    });
}

TEST(QtPromptsTest, ConfirmOkCancel_EnterAnswersOkAndEscapeCancel) {
    QtPrompts prompts;
    PressInTheBox(Qt::Key_Return);
    EXPECT_TRUE(prompts.ConfirmOkCancel(nullptr, "确认退出", "exit?"));
    PressInTheBox(Qt::Key_Escape);
    EXPECT_FALSE(prompts.ConfirmOkCancel(nullptr, "确认退出", "exit?"));
}

}  // namespace
}  // namespace vardo
