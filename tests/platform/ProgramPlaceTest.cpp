#include "ProgramPlace.h"

#include <gtest/gtest.h>

#include "PlatformTestSupport.h"

namespace vardo::platform {
namespace {

using test::ScopedEnvironment;
using test::TempFolder;

TEST(ProgramPlaceTest, Portable_KeepsEverythingBesideTheExecutable) {
    const ProgramPlace place = PortablePlace("/home/op/vardo/vardo");
    EXPECT_EQ(place.programFile, "/home/op/vardo/vardo");
    EXPECT_EQ(place.folder, "/home/op/vardo/");
    EXPECT_EQ(place.settingsFile, "/home/op/vardo/VARDO.INI");
    EXPECT_EQ(place.skinFolders, std::vector<std::string>{"/home/op/vardo/Skins/"});
}

TEST(ProgramPlaceTest, Installed_KeepsTheOperatorsFilesInTheDataFolder_AndStartsTheCommand) {
    TempFolder data;
    ScopedEnvironment dataHome("XDG_DATA_HOME", data.path());
    const ProgramPlace place = InstalledPlace("/usr/bin/vardo", "/usr/share/vardo/Skins");
    EXPECT_EQ(place.programFile, "/usr/bin/vardo");
    EXPECT_EQ(place.folder, data.File("vardo/"));
    EXPECT_EQ(place.settingsFile, data.File("vardo/VARDO.INI"));
    EXPECT_EQ(place.skinFolders,
              (std::vector<std::string>{data.File("vardo/Skins/"), "/usr/share/vardo/Skins/"}));
}

TEST(ProgramPlaceTest, Installed_UnsetOrRelativeDataHome_UsesTheHomeFolder) {
    TempFolder home;
    ScopedEnvironment homeVariable("HOME", home.path());
    for (const std::optional<std::string>& value :
         {std::optional<std::string>{}, std::optional<std::string>{"relative/data"}}) {
        ScopedEnvironment dataHome("XDG_DATA_HOME", value);
        const ProgramPlace place = InstalledPlace("/usr/bin/vardo", "/usr/share/vardo/Skins/");
        EXPECT_EQ(place.folder, home.File(".local/share/vardo/"));
        EXPECT_EQ(place.settingsFile, home.File(".local/share/vardo/VARDO.INI"));
    }
}

TEST(ProgramPlaceTest, Marked_IsInstalledOnlyWithTheMarkerBesideTheProgram) {
    TempFolder folder, data;
    ScopedEnvironment dataHome("XDG_DATA_HOME", data.path());
    const std::string program = folder.File("vardo");
    EXPECT_EQ(MarkedPlace(program).folder, folder.Slash());

    test::WriteBytes(folder.File(kInstalledMarker), "");
    const ProgramPlace place = MarkedPlace(program);
    EXPECT_EQ(place.folder, data.File("vardo/"));
    EXPECT_EQ(place.skinFolders,
              (std::vector<std::string>{data.File("vardo/Skins/"), folder.File("Skins/")}));
}

}  // namespace
}  // namespace vardo::platform
