#include "PrivateFont.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QGuiApplication>
#include <fstream>

#include "PlatformTestSupport.h"

namespace vardo::platform {
namespace {

constexpr const char* kFontFile = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

TEST(PrivateFont, AddPrivateFont_FontFile_MakesItsFamilyAvailable) {
    ASSERT_TRUE(std::filesystem::exists(kFontFile))
        << kFontFile << " is not installed (Debian package fonts-wqy-microhei)";
    ASSERT_TRUE(AddPrivateFont(kFontFile));
    EXPECT_TRUE(QFontDatabase::families().contains("WenQuanYi Micro Hei"));
}

TEST(PrivateFont, AddPrivateFont_MissingOrBrokenFile_Fails) {
    test::TempFolder folder;
    EXPECT_FALSE(AddPrivateFont(folder.File("Digirtu_.ttf")));
    std::ofstream(folder.File("broken.ttf")) << "not a font";
    EXPECT_FALSE(AddPrivateFont(folder.File("broken.ttf")));
}

}  // namespace
}  // namespace vardo::platform

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
