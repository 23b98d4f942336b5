// Runs on an offscreen screen whose corner is not the desktop's origin (see CMakeLists.txt).
#include "MainWindowFixture.h"

namespace vardo::test {
namespace {

using MainWindowPlacementTest = MainWindowFixture;

TEST_F(MainWindowPlacementTest, Start_PrimaryMonitorAwayFromTheOrigin_CentresTheWindowOnIt) {
    const auto main = Start();
    EXPECT_EQ(main->pos(), QPoint(1920 + (1920 - 792) / 2, 100 + (1080 - 566) / 2));
}

}  // namespace
}  // namespace vardo::test
