// Sequences the operator model found failing, shrunk, kept as examples of their own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLineEdit>

#include "OperatorStation.h"
#include "TaskTable.h"
#include "utMain.h"

namespace vardo::test {
namespace {

using ::testing::IsEmpty;

// The start button on a row whose task the system refuses to end: the task runs on, followed by
// its row, and no second copy starts beside it.
TEST(OperatorModelFindings, RestartWhoseEndIsRefused_StartsNoSecondCopy) {
    OperatorStation station({});
    station.ChooseRow(0);
    station.Main().btnPlayFlashClick();
    ASSERT_THAT(station.Check(false), IsEmpty());
    const std::string processId = station.Main().table().Cell(ColProcessId, 1);

    station.RefuseNextKill();
    station.Main().btnPlayFlashClick();

    EXPECT_THAT(station.Check(false), IsEmpty());
    EXPECT_EQ(station.Main().table().Cell(ColProcessId, 1), processId);
    EXPECT_EQ(station.Main().table().Cell(ColRunState, 1), kRunning);
}

// A running row given another program in the edit state: its end still names the program that
// ran, so that the history's start and end lines pair up.
TEST(OperatorModelFindings, RowGivenAnotherProgramWhileRunning_EndNamesTheProgramThatRan) {
    OperatorStation station({});
    station.ChooseRow(0);
    station.Main().btnPlayFlashClick();
    station.Main().btnEditClick();
    station.ChooseRow(0);
    station.Main().edApp->setText(QString::fromStdString(station.ProgramPath(TaskProgram::Blip)));
    station.Main().btnEditClick();
    ASSERT_THAT(station.Check(false), IsEmpty());

    station.ChooseRow(0);
    station.Main().btnStopFlashClick();

    EXPECT_THAT(station.Check(false), IsEmpty());
}

}  // namespace
}  // namespace vardo::test
