// What reaches the program through Qt's loop on Windows, and the tools' wide command line.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <filesystem>

#include "AtomicFile.h"
#include "FolderWatch.h"
#include "FolderWatchNotifier.h"
#include "TempFolder.h"
#include "Utf8Path.h"

namespace vardo {
namespace {

bool RunLoopUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

TEST(FolderWatchNotifierTest, AFileRenamedIntoTheFolder_IsToldInTheLoop_AndReadOnce) {
    test::TempFolder folder;
    platform::FolderWatch watch(folder.path());
    ASSERT_GE(watch.Descriptor(), 0);
    std::vector<platform::FolderEvent> events;
    int calls = 0;
    platform::FolderWatchNotifier notifier(watch, [&] {
        ++calls;
        for (platform::FolderEvent& event : watch.ReadEvents()) events.push_back(std::move(event));
    });

    // As a station's feed delivers it: written beside, then renamed into place.
    ASSERT_TRUE(WriteFileAtomically(folder.File("节目单.tab"), "whole"));
    ASSERT_TRUE(RunLoopUntil([&] {
        for (const platform::FolderEvent& event : events)
            if (event.name == "节目单.tab" && event.change == platform::FolderChange::RenamedInto)
                return true;
        return false;
    }));
    // Read: the notice is not repeated while nothing changes.
    const int callsWhenRead = calls;
    RunLoopUntil([] { return false; }, 500);
    EXPECT_EQ(calls, callsWhenRead);
}

// The shipped skin unpacked into, and listed from, folders named outside the ANSI code page.
TEST(WideCommandLineTest, TheSkinTool_TakesUnicodePathsAsTyped) {
    test::TempFolder folder;
    const std::string skin = folder.File("皮肤 Ω.skn");
    std::filesystem::copy_file(Utf8Path(VARDO_SKINS_DIR "/Daylight.skn"), Utf8Path(skin));
    const std::string output = folder.File("解开 Ω");

    QProcess tool;
    tool.setProgram(QCoreApplication::applicationDirPath() + "/" VARDO_SKIN_TOOL);
    tool.setArguments({"unpack", QString::fromStdString(skin), QString::fromStdString(output)});
    tool.start();
    ASSERT_TRUE(tool.waitForFinished(30'000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    std::error_code error;
    EXPECT_TRUE(std::filesystem::is_directory(Utf8Path(output), error));
    EXPECT_FALSE(std::filesystem::is_empty(Utf8Path(output), error));

    tool.setArguments({"list", QString::fromStdString(skin)});
    tool.start();
    ASSERT_TRUE(tool.waitForFinished(30'000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_TRUE(tool.readAllStandardOutput().startsWith("version "));
}

}  // namespace
}  // namespace vardo
