// The installer of the shipped program, run silently as a deployment runs it: the program folder
// lands in Program Files with the Start-menu entry, the uninstall entry and the mark of an
// installed program; the installed vardo.exe keeps the operator's files in %LOCALAPPDATA%\Vardo\;
// the uninstaller removes the program and leaves the operator's files as they were.
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "WideText.h"
#include "WinDesktop.h"

namespace vardo::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

fs::path KnownFolder(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    fs::path folder;
    if (::SHGetKnownFolderPath(id, 0, nullptr, &path) == S_OK) folder = path;
    ::CoTaskMemFree(path);
    return folder;
}

// The program and icon a shell link points at.
struct LinkTarget {
    std::wstring program;
    std::wstring icon;
};

std::optional<LinkTarget> ReadLink(const fs::path& link) {
    IShellLinkW* shellLink = nullptr;
    if (::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                           reinterpret_cast<void**>(&shellLink)) != S_OK)
        return std::nullopt;
    std::optional<LinkTarget> target;
    IPersistFile* file = nullptr;
    if (shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)) == S_OK) {
        if (file->Load(link.c_str(), STGM_READ) == S_OK) {
            wchar_t program[MAX_PATH] = {};
            wchar_t icon[MAX_PATH] = {};
            int index = 0;
            shellLink->GetPath(program, MAX_PATH, nullptr, 0);
            shellLink->GetIconLocation(icon, MAX_PATH, &index);
            target = LinkTarget{program, icon};
        }
        file->Release();
    }
    shellLink->Release();
    return target;
}

std::optional<std::wstring> UninstallValue(const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE,
                       L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vardo", name,
                       RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

// Runs a program to its end; its exit code, or nothing when it did not end within `limit`. Not in
// a job: the uninstaller goes on in a copy of itself that must outlive it.
std::optional<DWORD> RunToEnd(std::wstring commandLine, std::chrono::milliseconds limit) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &started))
        return std::nullopt;
    ::CloseHandle(started.hThread);
    std::optional<DWORD> code;
    if (::WaitForSingleObject(started.hProcess, static_cast<DWORD>(limit.count())) ==
        WAIT_OBJECT_0) {
        DWORD exitCode = 0;
        ::GetExitCodeProcess(started.hProcess, &exitCode);
        code = exitCode;
    }
    ::CloseHandle(started.hProcess);
    return code;
}

// The files below a folder, relative to it.
std::vector<fs::path> FilesBelow(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), folder));
    return files;
}

class VardoWindowsSetup : public ::testing::Test {
  protected:
    void SetUp() override {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ClearInheritedOverrides();
        setup_ = EnvironmentPath(L"VARDO_WINDOWS_SETUP");
        ASSERT_FALSE(setup_.empty()) << "VARDO_WINDOWS_SETUP is not set: it names the installer "
                                        "scripts/windows.sh builds";
        ASSERT_TRUE(fs::exists(setup_)) << "no installer at " << Utf8Text(setup_.wstring());
        shipped_ = EnvironmentPath(L"VARDO_WINDOWS_PROGRAM");
        ASSERT_FALSE(shipped_.empty()) << "VARDO_WINDOWS_PROGRAM is not set: it names the "
                                          "program folder scripts/windows.sh stages";
        installed_ = KnownFolder(FOLDERID_ProgramFiles) / L"Vardo";
        operatorFolder_ = KnownFolder(FOLDERID_LocalAppData) / L"Vardo";
        link_ = KnownFolder(FOLDERID_CommonPrograms) / L"Vardo.lnk";
        // The test installs and removes the program: it runs where neither is there already.
        ASSERT_FALSE(fs::exists(installed_))
            << Utf8Text(installed_.wstring()) << " exists: run this test on the Wine test bed";
        ASSERT_FALSE(fs::exists(operatorFolder_))
            << Utf8Text(operatorFolder_.wstring()) << " exists: run this test on the Wine test bed";
        ownsFolders_ = true;
    }

    // Removes what the test installed and made; a folder that was there before is not the test's.
    void TearDown() override {
        vardo_.End();
        if (ownsFolders_) RemoveTheTestsFolders();
        ::CoUninitialize();
    }

    void RemoveTheTestsFolders() {
        std::error_code ignored;
        if (fs::exists(installed_ / L"uninstall.exe"))
            RunToEnd(L"\"" + (installed_ / L"uninstall.exe").wstring() + L"\" /S _?=" +
                         installed_.wstring(),
                     60s);
        fs::remove_all(installed_, ignored);
        fs::remove_all(operatorFolder_, ignored);
    }

    fs::path setup_;
    fs::path shipped_;
    fs::path installed_;
    fs::path operatorFolder_;
    fs::path link_;
    bool ownsFolders_ = false;
    JobProcess vardo_;
};

TEST_F(VardoWindowsSetup, SilentInstall_RunsFromLocalAppData_UninstallLeavesTheOperatorsFiles) {
    ASSERT_EQ(RunToEnd(L"\"" + setup_.wstring() + L"\" /S", 180s), std::optional<DWORD>(0))
        << "the silent install failed";

    for (const fs::path& file : FilesBelow(shipped_))
        EXPECT_TRUE(fs::exists(installed_ / file)) << Utf8Text(file.wstring()) << " not installed";
    EXPECT_TRUE(fs::exists(installed_ / L"vardo.installed"));
    EXPECT_TRUE(fs::exists(installed_ / L"uninstall.exe"));
    const std::optional<LinkTarget> link = ReadLink(link_);
    ASSERT_TRUE(link) << "no Start-menu entry " << Utf8Text(link_.wstring());
    EXPECT_TRUE(fs::equivalent(link->program, installed_ / L"vardo.exe"));
    EXPECT_TRUE(fs::equivalent(link->icon, installed_ / L"vardo.ico"));
    EXPECT_EQ(UninstallValue(L"DisplayName"), std::optional<std::wstring>(L"Vardo"));

    // The installed program keeps its folder in the user's local application data.
    ASSERT_TRUE(
        vardo_.Start(L"\"" + (installed_ / L"vardo.exe").wstring() + L"\"", installed_.wstring()));
    ASSERT_TRUE(WaitUntil([&] { return fs::is_directory(operatorFolder_ / L"Data"); }, 60s))
        << "the installed vardo.exe did not make " << Utf8Text(operatorFolder_.wstring())
        << "\\Data";
    EXPECT_FALSE(fs::exists(installed_ / L"Data")) << "the installed program wrote beside itself";
    vardo_.End();
    const fs::path timetable = operatorFolder_ / L"Data" / L"任务计划表.tab";
    WriteBytes(Utf8Text(timetable.wstring()), "  1^^notepad.exe^^\r\n");

    // The uninstaller copies itself away and removes the folder from there.
    ASSERT_EQ(RunToEnd(L"\"" + (installed_ / L"uninstall.exe").wstring() + L"\" /S", 60s),
              std::optional<DWORD>(0));
    EXPECT_TRUE(WaitUntil([&] { return !fs::exists(installed_); }, 60s))
        << Utf8Text(installed_.wstring()) << " is still there";
    EXPECT_FALSE(fs::exists(link_)) << "the Start-menu entry is still there";
    EXPECT_FALSE(UninstallValue(L"DisplayName")) << "the uninstall entry is still there";
    EXPECT_EQ(ReadBytes(Utf8Text(timetable.wstring())), "  1^^notepad.exe^^\r\n")
        << "the uninstaller touched the operator's files";
}

// The uninstaller leaves the run key's value of another copy of the program alone, and removes
// the one that would start the copy it removes.
TEST_F(VardoWindowsSetup, Uninstall_RemovesOnlyItsOwnRunValue) {
    const RunValueKeeper keeper(L"AutoTask");
    const fs::path uninstaller = installed_ / L"uninstall.exe";
    const auto installAndRemoveWith = [&](const std::wstring& runValue) {
        EXPECT_EQ(RunToEnd(L"\"" + setup_.wstring() + L"\" /S", 180s), std::optional<DWORD>(0));
        SetRunValue(L"AutoTask", runValue);
        // Run in place (_?=) so that it has ended when its process has.
        EXPECT_EQ(
            RunToEnd(L"\"" + uninstaller.wstring() + L"\" /S _?=" + installed_.wstring(), 60s),
            std::optional<DWORD>(0));
        fs::remove_all(installed_);
        return RunValue(L"AutoTask");
    };
    const std::wstring portable = L"D:\\Station\\vardo.exe";
    EXPECT_EQ(installAndRemoveWith(portable), std::optional<std::wstring>(portable));
    std::wstring ownPath = (installed_ / L"vardo.exe").wstring();
    for (wchar_t& c : ownPath)
        if (c == L'\\') c = L'/';
    EXPECT_EQ(installAndRemoveWith(ownPath), std::nullopt);
}

}  // namespace
}  // namespace vardo::test
