// What reaches the program through Qt's loop on Windows, and the tools' wide command line.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <filesystem>

#include "AtomicFile.h"
#include "FolderWatch.h"
#include "FolderWatchNotifier.h"
#include "SkinRead.h"
#include "TempFolder.h"
#include "Utf8Path.h"
#include "WinConvert.h"

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

int RunSkinTool(const QStringList& arguments, QString* errors = nullptr) {
    QProcess tool;
    tool.start(QCoreApplication::applicationDirPath() + "/" VARDO_SKIN_TOOL, arguments);
    if (!tool.waitForFinished(30'000)) return -1;
    if (errors) *errors = QString::fromLocal8Bit(tool.readAllStandardError());
    return tool.exitCode();
}

// The shipped skin unpacked into, and listed from, folders named outside the ANSI code page.
TEST(WideCommandLineTest, TheSkinTool_TakesUnicodePathsAsTyped) {
    test::TempFolder folder;
    const std::string skin = folder.File("皮肤 Ω.skn");
    std::filesystem::copy_file(Utf8Path(VARDO_SKINS_DIR "/Daylight.skn"), Utf8Path(skin));
    const std::string output = folder.File("解开 Ω");

    EXPECT_EQ(RunSkinTool({"unpack", QString::fromStdString(skin), QString::fromStdString(output)}),
              0);
    std::error_code error;
    EXPECT_TRUE(std::filesystem::is_directory(Utf8Path(output), error));
    EXPECT_FALSE(std::filesystem::is_empty(Utf8Path(output), error));
    EXPECT_EQ(RunSkinTool({"list", QString::fromStdString(skin)}), 0);
}

// On Windows a backslash parts folders and a colon names a drive or a stream: an entry named with
// either must not be written outside the output folder.
TEST(WideCommandLineTest, TheSkinTool_RefusesEntriesThatLeaveTheFolderTheWindowsWay) {
    test::TempFolder folder;
    for (const std::string name : {"..\\escaped.txt", "C:escaped.txt"}) {
        const std::string skin = folder.File("bad.skn");
        test::WriteBytes(skin, PackSkinFile(BuildSkinContainer({{name, "bytes"}})));
        QString errors;
        EXPECT_EQ(RunSkinTool({"unpack", QString::fromStdString(skin),
                               QString::fromStdString(folder.File("out"))},
                              &errors),
                  1)
            << name;
        EXPECT_TRUE(errors.contains("would leave the output folder")) << errors.toStdString();
        std::error_code error;
        EXPECT_FALSE(std::filesystem::exists(Utf8Path(folder.File("escaped.txt")), error)) << name;
    }
}

}  // namespace
}  // namespace vardo
