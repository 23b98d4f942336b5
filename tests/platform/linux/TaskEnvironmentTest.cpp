#include "TaskEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vardo::platform {
namespace {

const Environment kWaylandSession = {"HOME=/home/op", "WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0",
                                     "PATH=/usr/bin"};

const Environment kToolkitsOnX11 = {"GDK_BACKEND=x11",
                                    "QT_QPA_PLATFORM=xcb",
                                    "SDL_VIDEODRIVER=x11",
                                    "SDL_VIDEO_DRIVER=x11",
                                    "CLUTTER_BACKEND=x11",
                                    "MOZ_ENABLE_WAYLAND=0",
                                    "ELECTRON_OZONE_PLATFORM_HINT=x11"};

Environment Joined(Environment first, const Environment& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

TEST(TaskEnvironment, WaylandSessionWithX_AddsEveryToolkitsX11ChoiceAfterTheSession) {
    EXPECT_EQ(TaskEnvironment(kWaylandSession, true), Joined(kWaylandSession, kToolkitsOnX11));
}

TEST(TaskEnvironment, OperatorsOwnChoices_AreKept_EmptyOnesCountAsUnset) {
    const Environment session =
        Joined(kWaylandSession, {"GDK_BACKEND=wayland,x11", "QT_QPA_PLATFORM=wayland",
                                 "SDL_VIDEODRIVER=", "MOZ_ENABLE_WAYLAND=1"});
    const Environment environment = TaskEnvironment(session, true);
    EXPECT_EQ(EnvironmentValue(environment, "GDK_BACKEND"), "wayland,x11");
    EXPECT_EQ(EnvironmentValue(environment, "QT_QPA_PLATFORM"), "wayland");
    EXPECT_EQ(EnvironmentValue(environment, "MOZ_ENABLE_WAYLAND"), "1");
    EXPECT_EQ(EnvironmentValue(environment, "SDL_VIDEODRIVER"), "x11");
    EXPECT_EQ(EnvironmentValue(environment, "CLUTTER_BACKEND"), "x11");
    // Each variable once: the empty entry was replaced, not shadowed.
    EXPECT_EQ(std::count_if(
                  environment.begin(), environment.end(),
                  [](const std::string& entry) { return entry.starts_with("SDL_VIDEODRIVER="); }),
              1);
    EXPECT_EQ(environment.size(), kWaylandSession.size() + kToolkitsOnX11.size());
}

TEST(TaskEnvironment, X11SessionWaylandWithoutXOrSwitchedOff_LeavesTheSessionAlone) {
    const Environment x11 = {"HOME=/home/op", "DISPLAY=:0"};
    const Environment waylandOnly = {"WAYLAND_DISPLAY=wayland-0", "DISPLAY="};
    EXPECT_EQ(TaskEnvironment(x11, true), x11);
    EXPECT_EQ(TaskEnvironment(waylandOnly, true), waylandOnly);
    EXPECT_EQ(TaskEnvironment(kWaylandSession, false), kWaylandSession);
    // A name that only begins like a display variable is another variable.
    EXPECT_FALSE(IsWaylandSessionWithX({"WAYLAND_DISPLAY_X=1", "DISPLAY=:0"}));
}

TEST(TaskEnvironment, OwnWindows_UseXcbOnWaylandWithXUnlessTheOperatorChoseAPlatform) {
    EXPECT_TRUE(OwnWindowsNeedXcb(kWaylandSession));
    EXPECT_TRUE(OwnWindowsNeedXcb(Joined(kWaylandSession, {"QT_QPA_PLATFORM="})));
    EXPECT_FALSE(OwnWindowsNeedXcb(Joined(kWaylandSession, {"QT_QPA_PLATFORM=wayland"})));
    EXPECT_FALSE(OwnWindowsNeedXcb({"DISPLAY=:0"}));
    EXPECT_FALSE(OwnWindowsNeedXcb({"WAYLAND_DISPLAY=wayland-0"}));
}

}  // namespace
}  // namespace vardo::platform
