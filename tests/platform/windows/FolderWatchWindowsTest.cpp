#include "FolderWatch.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "AtomicFile.h"
#include "TempFolder.h"
#include "Utf8Path.h"

namespace vardo::platform {
namespace {

// The events that arrive within a second (the event object is signalled when any wait).
std::vector<FolderEvent> Collect(FolderWatch& watch) {
    std::vector<FolderEvent> events;
    const HANDLE ready = LongToHandle(watch.Descriptor());
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (std::chrono::steady_clock::now() < until) {
        if (::WaitForSingleObject(ready, 50) != WAIT_OBJECT_0) continue;
        for (FolderEvent& event : watch.ReadEvents()) events.push_back(std::move(event));
    }
    return events;
}

bool Has(const std::vector<FolderEvent>& events, const std::string& name, FolderChange change) {
    for (const FolderEvent& event : events)
        if (event.name == name && event.change == change) return true;
    return false;
}

TEST(FolderWatchWindowsTest, TellsAFileRenamedIntoPlaceFromOneWrittenInPlace) {
    test::TempFolder folder;
    FolderWatch watch(folder.path());
    ASSERT_GE(watch.Descriptor(), 0);

    test::WriteBytes(folder.File("任务计划表.tab"), "half");
    const std::vector<FolderEvent> written = Collect(watch);
    EXPECT_TRUE(Has(written, "任务计划表.tab", FolderChange::Written));
    EXPECT_FALSE(Has(written, "任务计划表.tab", FolderChange::RenamedInto));

    ASSERT_TRUE(WriteFileAtomically(folder.File("星期一.tab"), "whole"));
    EXPECT_TRUE(Has(Collect(watch), "星期一.tab", FolderChange::RenamedInto));
}

TEST(FolderWatchWindowsTest, AFolderThatCannotBeWatchedGivesNoEvents) {
    test::TempFolder folder;
    FolderWatch watch(folder.File("无"));
    EXPECT_EQ(watch.Descriptor(), -1);
    EXPECT_TRUE(watch.ReadEvents().empty());
}

}  // namespace
}  // namespace vardo::platform
