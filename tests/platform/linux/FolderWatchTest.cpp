// The folder watch on real inotify: writes in place with their close, and a watched folder that
// is moved away, replaced or deleted.
#include "FolderWatch.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "TempFolder.h"

namespace vardo::platform {

void PrintTo(const FolderEvent& event, std::ostream* out) {
    *out << "{\"" << event.name << "\", " << static_cast<int>(event.change) << "}";
}

namespace {

using test::TempFolder;
using test::WriteBytes;

class FolderWatchTest : public ::testing::Test {
  protected:
    TempFolder parent;
    std::string folder = parent.File("Data");
    void SetUp() override { std::filesystem::create_directory(folder); }
};

TEST_F(FolderWatchTest, WriteInPlace_TellsOfTheOpenWriterThenOfItsClose) {
    FolderWatch watch(folder);
    ASSERT_GE(watch.Descriptor(), 0) << "inotify is not available";

    const int file = ::open((folder + "/a.tab").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(file, 0);
    ASSERT_EQ(::write(file, "half", 4), 4);
    EXPECT_EQ(watch.ReadEvents(), (std::vector<FolderEvent>{{"a.tab", FolderChange::Written},
                                                            {"a.tab", FolderChange::Writing}}));
    ::close(file);
    EXPECT_EQ(watch.ReadEvents(), (std::vector<FolderEvent>{{"a.tab", FolderChange::Closed}}));

    WriteBytes(folder + "/.part", "whole");
    std::filesystem::rename(folder + "/.part", folder + "/b.tab");
    EXPECT_EQ(watch.ReadEvents().back(), (FolderEvent{"b.tab", FolderChange::RenamedInto}));
}

// The path is what is watched: a folder moved away is let go, and the one put in its place is
// watched, with word that changes may have gone untold.
TEST_F(FolderWatchTest, FolderReplaced_WatchesTheNewFolderAtThePath) {
    FolderWatch watch(folder);
    ASSERT_GE(watch.Descriptor(), 0) << "inotify is not available";

    std::filesystem::rename(folder, parent.File("Data.old"));
    std::filesystem::create_directory(folder);
    EXPECT_EQ(watch.ReadEvents(), (std::vector<FolderEvent>{{"", FolderChange::Lost}}));

    WriteBytes(parent.File("Data.old/old.tab"), "gone");
    WriteBytes(folder + "/new.tab", "here");
    EXPECT_EQ(watch.ReadEvents().back(), (FolderEvent{"new.tab", FolderChange::Closed}));
}

TEST_F(FolderWatchTest, FolderDeleted_IsWatchedAgainOnceItIsBack) {
    FolderWatch watch(folder);
    ASSERT_GE(watch.Descriptor(), 0) << "inotify is not available";

    std::filesystem::remove(folder);
    EXPECT_EQ(watch.ReadEvents(), (std::vector<FolderEvent>{{"", FolderChange::Lost}}));
    EXPECT_TRUE(watch.ReadEvents().empty());  // nothing to watch yet

    std::filesystem::create_directory(folder);
    EXPECT_TRUE(watch.ReadEvents().empty());  // watched from this read on
    WriteBytes(folder + "/a.tab", "back");
    EXPECT_EQ(watch.ReadEvents().back(), (FolderEvent{"a.tab", FolderChange::Closed}));
}

}  // namespace
}  // namespace vardo::platform
