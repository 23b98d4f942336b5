#include "SystemServices.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vardo::platform {
namespace {

namespace fs = std::filesystem;

TEST(SystemServices, ProgramFilePath_NamesTheRunningTestExecutable) {
    const std::string path = ProgramFilePath();
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(fs::equivalent(path, VARDO_UNIT_TESTS_EXECUTABLE)) << path;
}

TEST(SystemServices, HighResolutionCounter_IsPresentOnLinux) {
    EXPECT_TRUE(HasHighResolutionCounter());
}

}  // namespace
}  // namespace vardo::platform
