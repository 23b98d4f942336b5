// The shipped vardo.exe on the Windows desktop (Wine on two monitors): its settings dialog writes
// and removes the run key's value, the session's end takes the close path and ends the tasks
// before the system's messages return, and a skin paints the main window on the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>

#include "VardoWindowsFolder.h"

namespace vardo::test {
namespace {

using VardoWindowsDesktop = VardoWindowsFolder;

// Where the operator clicks, in client coordinates: the settings button at the main window's top
// left, and the dialog's "开机自动启动系统" box (its group box at 8,44, the box at 160,20 in it).
constexpr POINT kSettingsButton = {22, 21};
constexpr POINT kAutoStartBox = {8 + 160 + 30, 44 + 20 + 10};
constexpr wchar_t kAutoStartValue[] = L"AutoTask";

// A path as the run key may hold it: quoted or not, with either slash, in any case.
std::wstring ComparablePath(std::wstring path) {
    std::erase(path, L'"');
    for (wchar_t& c : path) c = c == L'/' ? L'\\' : static_cast<wchar_t>(std::towlower(c));
    return path;
}

TEST_F(VardoWindowsDesktop, SettingsDialog_WritesAndRemovesTheRunValue) {
    const RunValueKeeper keeper(kAutoStartValue);
    DeleteRunValue(kAutoStartValue);
    WriteDay("", "");
    ASSERT_TRUE(StartVardo());
    const std::optional<DesktopWindow> main = WaitForMainWindow();
    ASSERT_TRUE(main) << "vardo's main window did not show";

    ClickAt(main->handle, kSettingsButton.x, kSettingsButton.y);
    std::optional<DesktopWindow> dialog;
    WaitUntil(
        [&] {
            for (const DesktopWindow& window : WindowsOfProcess(vardo_.Id()))
                if (window.visible && window.handle != main->handle) dialog = window;
            return dialog.has_value();
        },
        20s);
    ASSERT_TRUE(dialog) << "the settings dialog did not open";

    const std::wstring program = ComparablePath(FolderFile(L"vardo.exe"));
    ClickAt(dialog->handle, kAutoStartBox.x, kAutoStartBox.y);
    std::optional<std::wstring> written;
    EXPECT_TRUE(WaitUntil(
        [&] {
            written = RunValue(kAutoStartValue);
            return written && ComparablePath(*written) == program;
        },
        10s))
        << "the run key's value is " << (written ? Utf8Text(*written) : "missing")
        << ", not vardo.exe's path";

    ClickAt(dialog->handle, kAutoStartBox.x, kAutoStartBox.y);
    EXPECT_TRUE(WaitUntil([] { return !RunValue(kAutoStartValue); }, 10s))
        << "the run key's value was not removed";
}

TEST_F(VardoWindowsDesktop, SessionEnd_EndsTheTasksAndLogsItBeforeTheMessagesReturn) {
    const std::wstring ready = std::filesystem::path(Utf8FilePath(temp_.File("task.pid")));
    const std::time_t start = StartVardoAhead([&](std::time_t first) {
        WriteDay(TimetableLine({"  1", ClientPath(), "--ready \"" + Utf8Text(ready) + "\"",
                                "Player", LocalTimeText(first, 0, "%02d:%02d:%02d"), "", "", "否",
                                "是", "1", "", "", "", "", "", ""}),
                 "chkSaveHis=YES\r\nchkShutTask=YES\r\nchkSure=YES\r\n");
    });
    ASSERT_NE(start, 0);
    DWORD task = 0;
    ASSERT_TRUE(WaitUntil(
        [&] { return (task = std::strtoul(ReadBytes(Utf8Text(ready)).c_str(), nullptr, 10)) != 0; },
        30s))
        << "the task did not start";

    // As the system ends a session: every top-level window of the program is asked, then told.
    const std::vector<DesktopWindow> windows = WindowsOfProcess(vardo_.Id());
    ASSERT_FALSE(windows.empty());
    for (const DesktopWindow& window : windows) {
        DWORD_PTR agreed = 0;
        ASSERT_NE(SendMessageTimeoutW(window.handle, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                      SMTO_ABORTIFHUNG, 10000, &agreed),
                  0)
            << "a window did not answer the session's end";
        EXPECT_NE(agreed, 0u) << "vardo refused the session's end (a confirmation box?)";
    }
    for (const DesktopWindow& window : windows)
        SendMessageTimeoutW(window.handle, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                            30000, nullptr);

    // Windows may end the program as soon as the messages have returned: what it owes the
    // session is done by then.
    const std::string history = History(start);
    EXPECT_NE(history.find(" 结束任务: 【" + ClientPath() + " 】  Player\r\n"), std::string::npos)
        << history;
    EXPECT_TRUE(ProcessEndsWithin(task, 10s)) << "the task outlived the session";
}

// The share of a rectangle's pixels that have one of the colours (0xRRGGBB).
double ShareOf(const ScreenPicture& picture, const RECT& area,
               std::initializer_list<std::uint32_t> colours) {
    int matching = 0;
    int all = 0;
    for (int y = area.top; y < std::min<int>(area.bottom, picture.height); ++y) {
        for (int x = area.left; x < std::min<int>(area.right, picture.width); ++x) {
            ++all;
            if (std::find(colours.begin(), colours.end(), picture.At(x, y)) != colours.end())
                ++matching;
        }
    }
    return all == 0 ? 0 : static_cast<double>(matching) / all;
}

TEST_F(VardoWindowsDesktop, ContrastSkin_PaintsTheMainWindowsCaptionAndFrameOnTheScreen) {
    WriteDay("", "chktskn=YES\r\ncbskn=Contrast.skn\r\n");
    ASSERT_TRUE(StartVardo());
    const std::optional<DesktopWindow> main = WaitForMainWindow();
    ASSERT_TRUE(main) << "vardo's main window did not show";

    // The shipped Contrast skin: a caption band 28 pixels high, blue when active and grey when
    // not, above frame edges 4 pixels wide: 2 white, then 2 yellow when active, silver when not.
    const auto skinShare = [](const ScreenPicture& picture, const RECT& area, std::uint32_t active,
                              std::uint32_t inactive) {
        return std::max(ShareOf(picture, area, {active}), ShareOf(picture, area, {inactive}));
    };
    ScreenPicture picture;
    double caption = 0;
    double edge = 0;
    WaitUntil(
        [&] {
            const std::optional<DesktopWindow> now = WindowCaptioned(L"Vardo");
            if (!now) return false;
            picture = CaptureScreen(now->rect);
            caption = skinShare(picture, {8, 6, picture.width - 80, 22}, 0x0000C0, 0x404040);
            edge = skinShare(picture, {2, 40, 4, picture.height - 10}, 0xFFFF00, 0xC0C0C0);
            return caption > 0.6 && edge > 0.9;
        },
        20s);
    EXPECT_GT(caption, 0.6) << "the caption band is not the skin's";
    EXPECT_GT(edge, 0.9) << "the left frame edge is not the skin's";
    if (HasFailure() && SavePicture(picture, L"vardo-contrast-skin.bmp"))
        ADD_FAILURE() << "the main window as the screen showed it: vardo-contrast-skin.bmp in the "
                         "test's working folder";
}

}  // namespace
}  // namespace vardo::test
