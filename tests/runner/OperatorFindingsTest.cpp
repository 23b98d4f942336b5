// Sequences the operator model found failing, shrunk, kept as examples of their own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLineEdit>

#include "OperatorCommands.h"
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

// A running row given another start time that could not be saved (Data/ read-only): the next load
// reads the row back as it was, and hands it the task its old start time started. Its start
// button then restarts that task instead of starting a second copy beside it.
TEST(OperatorModelFindings, RowRetimedWhileRunningAndNotSaved_LoadHandsTheTaskBackToIt) {
    OperatorStation station({});
    const int row = station.ChooseRow(2);
    ASSERT_EQ(station.Main().table().Cell(ColStartTime, row), "09:00:10");
    station.Main().btnPlayFlashClick();
    station.BreakDataFolder();
    station.Main().btnEditClick();
    station.ChooseRow(2);
    station.Main().edSTime->setText("09:00:11");
    station.Main().btnEditClick();
    station.RepairDataFolder();
    ASSERT_THAT(station.Check(false), IsEmpty());

    station.MoveClockTo(NextAt(station.Now(), OperatorStation::kLoadSecond));
    ASSERT_EQ(station.Main().table().Cell(ColStartTime, row), "09:00:10");
    EXPECT_EQ(station.Main().table().Cell(ColRunState, row), kRunning);
    station.ChooseRow(2);
    station.Main().btnPlayFlashClick();

    EXPECT_THAT(station.Check(true), IsEmpty());
}

// The same with another program: a running row given another program, and a timetable opened
// before the edit was saved, which has the row as it was.
TEST(OperatorModelFindings, RowGivenAnotherProgramThenTimetableOpened_LoadHandsTheTaskBackToIt) {
    OperatorStation station({});
    const int row = station.ChooseRow(0);
    station.Main().btnPlayFlashClick();
    station.Main().btnEditClick();
    station.ChooseRow(0);
    station.Main().edApp->setText(QString::fromStdString(station.ProgramPath(TaskProgram::Blip)));
    station.ChooseFile(station.DataPath(station.TimetableFiles().front()));
    station.Main().btnOpenTaskClick();
    if (station.Editing()) station.Main().btnEditClick();
    ASSERT_THAT(station.Check(false), IsEmpty());
    ASSERT_EQ(station.Main().table().Cell(ColApplication, row),
              station.ProgramPath(TaskProgram::Player));
    EXPECT_EQ(station.Main().table().Cell(ColRunState, row), kRunning);

    station.ChooseRow(0);
    station.Main().btnPlayFlashClick();

    EXPECT_THAT(station.Check(false), IsEmpty());
}

}  // namespace
}  // namespace vardo::test
