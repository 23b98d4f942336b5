#include "SystemServices.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vardo::platform {
namespace {

namespace fs = std::filesystem;

TEST(SystemServices, ProgramFilePathAndFolder_NameTheRunningTestExecutable) {
    const std::string path = ProgramFilePath();
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(fs::equivalent(path, "/proc/self/exe"));
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(folder + fs::path(path).filename().string(), path);
}

TEST(SystemServices, HighResolutionCounter_IsPresentOnLinux) {
    EXPECT_TRUE(HasHighResolutionCounter());
}

}  // namespace
}  // namespace vardo::platform
