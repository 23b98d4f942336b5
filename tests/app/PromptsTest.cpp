#include "Prompts.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "Language.h"

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

// The texts of the standard buttons of the box a confirmation opens, once it is up; then cancels.
QStringList ButtonsOfTheConfirmation() {
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr) << "no message box is open";
        for (const QMessageBox::StandardButton button : {QMessageBox::Ok, QMessageBox::Cancel})
            texts << box->button(button)->text().remove('&');
        QTest::keyClick(box, Qt::Key_Escape);
    });
    QtPrompts().ConfirmOkCancel(nullptr, "Vardo", "?");
    return texts;
}

// A box's standard buttons speak the program's language: Qt's own Chinese beside the Chinese
// program, Qt's English beside the English one.
TEST(QtPromptsTest, StandardButtons_SpeakTheProgramsLanguage) {
    {
        const ProgramTranslation chinese("zh_CN", {VARDO_TRANSLATIONS_DIR});
        ASSERT_TRUE(chinese.QtTextsTranslated())
            << "Qt's Chinese translation qtbase_zh_CN.qm is missing: install qt6-translations-l10n";
        EXPECT_EQ(ButtonsOfTheConfirmation(), QStringList({"确定", "取消"}));
    }
    {
        const ProgramTranslation english("en", {VARDO_TRANSLATIONS_DIR});
        ASSERT_EQ(english.Language(), "en");
        EXPECT_EQ(ButtonsOfTheConfirmation(), QStringList({"OK", "Cancel"}));
    }
}

}  // namespace
}  // namespace vardo
