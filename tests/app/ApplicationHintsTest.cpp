#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QPushButton>
#include <QStyle>
#include <QToolTip>

#include "ApplicationHints.h"

namespace vardo::test {
namespace {

TEST(ApplicationHints, Installed_HintsComeAfter20MsOnWhite) {
    const ApplicationHints hints(*qApp);

    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 20);
    EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase), QColor(Qt::white));
}

TEST(ApplicationHints, ToolTipEvent_ShowsTheWidgetsHint) {
    const ApplicationHints hints(*qApp);
    QPushButton button("x");
    button.setToolTip("退出程序");
    button.show();

    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(&button, &help);

    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "退出程序");
    QToolTip::hideText();
}

}  // namespace
}  // namespace vardo::test
