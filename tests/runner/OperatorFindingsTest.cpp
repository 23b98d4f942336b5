// Sequences the operator model found failing, shrunk, kept as examples of their own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vardo::test
