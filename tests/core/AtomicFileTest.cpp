#include "AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <thread>
#include <vector>

#include "TempFolder.h"

namespace vardo {
namespace {

namespace fs = std::filesystem;

size_t EntryCount(const std::string& folder) {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(AtomicFileTest, Write_CreatesAndReplacesWithoutLeavingTemporaryFiles) {
    test::TempFolder folder;
    const std::string path = folder.File("a.tab");
    ASSERT_TRUE(WriteFileAtomically(path, "first"));
    ASSERT_TRUE(WriteFileAtomically(path, "second\r\n"));
    EXPECT_EQ(test::ReadBytes(path), "second\r\n");
    // A name at the file system's length limit (255 bytes) can be replaced as well.
    const std::string longPath = folder.File(std::string(251, 'n') + ".tab");
    ASSERT_TRUE(WriteFileAtomically(longPath, "first"));
    ASSERT_TRUE(WriteFileAtomically(longPath, "second"));
    EXPECT_EQ(test::ReadBytes(longPath), "second");
    EXPECT_EQ(EntryCount(folder.path()), 2u);
}

TEST(AtomicFileTest, Write_KeepsPermissionsOfTheReplacedFile) {
    test::TempFolder folder;
    const std::string path = folder.File("a.ini");
    test::WriteBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(AtomicFileTest, Write_RefusesAReadOnlyFileAndKeepsIt) {
    test::TempFolder folder;
    const std::string path = folder.File("VARDO.INI");
    test::WriteBytes(path, "old");
    ::chmod(path.c_str(), 0444);
    const WriteResult result = WriteFileAtomically(path, "new");
    EXPECT_FALSE(result);
    EXPECT_EQ(result.error.rfind(path + ": ", 0), 0u);
    EXPECT_EQ(test::ReadBytes(path), "old");
    EXPECT_EQ(EntryCount(folder.path()), 1u);
}

TEST(AtomicFileTest, Write_ThroughSymbolicLinkReplacesTheLinkedFile) {
    test::TempFolder folder;
    const std::string target = folder.File("real.tab");
    const std::string link = folder.File("link.tab");
    test::WriteBytes(target, "old");
    fs::create_symlink(target, link);
    ASSERT_TRUE(WriteFileAtomically(link, "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::ReadBytes(target), "new");
}

TEST(AtomicFileTest, FailedWrite_ReportsPathAndKeepsTheOldFile) {
    test::TempFolder folder;
    const std::string blocker = folder.File("plain");
    test::WriteBytes(blocker, "keep");
    const WriteResult belowFile = WriteFileAtomically(blocker + "/a.tab", "x");
    EXPECT_FALSE(belowFile);
    EXPECT_NE(belowFile.error.find(blocker + "/a.tab: "), std::string::npos);

    fs::create_directory(folder.File("dir"));
    EXPECT_FALSE(WriteFileAtomically(folder.File("dir"), "x"));
    EXPECT_TRUE(fs::is_directory(folder.File("dir")));
    ASSERT_EQ(::mkfifo(folder.File("pipe").c_str(), 0600), 0);
    EXPECT_FALSE(WriteFileAtomically(folder.File("pipe"), "x"));
    EXPECT_TRUE(fs::is_fifo(folder.File("pipe")));
    EXPECT_EQ(test::ReadBytes(blocker), "keep");
    EXPECT_EQ(EntryCount(folder.path()), 3u);
}

// A writer killed at 31 random moments, mid-write, mid-flush or mid-rename: the file is always
// one of the two versions, whole.
TEST(AtomicFileTest, Write_KilledAtRandomMoments_NeverLeavesATornFileAndTheNextWriterClearsUp) {
    test::TempFolder folder;
    const std::string path = folder.File("a.tab");
    const std::string first(300'000, 'a');
    const std::string second(200'000, 'b');
    ASSERT_TRUE(WriteFileAtomically(path, first));
    std::mt19937 random(20260305);
    std::uniform_int_distribution<int> delayMicroseconds(0, 20'000);
    for (int kill = 0; kill < 31; ++kill) {
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            for (bool one = true;; one = !one) WriteFileAtomically(path, one ? second : first);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ::kill(writer, SIGKILL);
        ASSERT_EQ(::waitpid(writer, nullptr, 0), writer);
        const std::string bytes = test::ReadBytes(path);
        ASSERT_TRUE(bytes == first || bytes == second)
            << "kill " << kill << ": " << bytes.size() << " bytes";
    }

    // The next process to write there removes the temporary files the killed ones left.
    const pid_t next = ::fork();
    ASSERT_GE(next, 0);
    if (next == 0) _exit(WriteFileAtomically(path, first) ? 0 : 1);
    int status = 0;
    ASSERT_EQ(::waitpid(next, &status, 0), next);
    ASSERT_EQ(status, 0);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"a.tab"});
}

TEST(AtomicFileTest, ReadFileBytes_DistinguishesMissingFromUnreadable) {
    test::TempFolder folder;
    std::error_code error;
    test::WriteBytes(folder.File("a"), std::string("x\0y", 3));
    EXPECT_EQ(ReadFileBytes(folder.File("a"), error), std::string("x\0y", 3));
    EXPECT_FALSE(error);
    EXPECT_EQ(ReadFileBytes(folder.File("missing"), error), "");
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
    ReadFileBytes(folder.path(), error);
    EXPECT_EQ(error, std::errc::is_a_directory);
}

TEST(AtomicFileTest, ReadFileBytes_RefusesPipesAndDevicesWithoutBlocking) {
    test::TempFolder folder;
    ASSERT_EQ(::mkfifo(folder.File("pipe").c_str(), 0600), 0);
    std::error_code error;
    ReadFileBytes(folder.File("pipe"), error);
    EXPECT_EQ(error, std::errc::invalid_argument);
    ReadFileBytes("/dev/zero", error);
    EXPECT_EQ(error, std::errc::invalid_argument);
}

}  // namespace
}  // namespace vardo
