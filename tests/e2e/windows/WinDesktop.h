#pragma once

// The desktop as the end-to-end tests on Windows see it, through Win32 alone (not through the
// program's own platform layer, which these tests check): processes in a job, the top-level
// windows of a process, the monitors, the screen's pixels, mouse clicks and the run key.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vardo::test {

// Runs done() every 20 ms until it holds or `limit` has passed; whether it held.
inline bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// An environment variable's value; a Unix path (as the test command passes it under Wine) is
// named through Wine's drive for the Unix root.
inline std::wstring EnvironmentPath(const wchar_t* name) {
    const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    value.resize(::GetEnvironmentVariableW(name, value.data(), size));
    if (!value.empty() && value.front() == L'/') value = L"Z:" + value;
    for (wchar_t& c : value)
        if (c == L'/') c = L'\\';
    return value;
}

// The programs the test starts run as from an operator's desktop: Qt chooses its own platform and
// plugins, and Wine finds DLLs only where Windows would (not on the test's own WINEPATH).
inline void ClearInheritedOverrides() {
    for (const wchar_t* name :
         {L"QT_QPA_PLATFORM", L"QT_PLUGIN_PATH", L"QT_QPA_PLATFORM_PLUGIN_PATH", L"WINEPATH"})
        ::SetEnvironmentVariableW(name, nullptr);
}

struct DesktopWindow {
    HWND handle = nullptr;
    std::wstring caption;
    bool visible = false;
    RECT rect{};
    int Width() const { return rect.right - rect.left; }
    int Height() const { return rect.bottom - rect.top; }
};

// The top-level windows of a process, hidden ones too, in the system's order.
inline std::vector<DesktopWindow> WindowsOfProcess(DWORD processId) {
    struct Search {
        DWORD processId;
        std::vector<DesktopWindow> found;
    } search{processId, {}};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner != search.processId) return TRUE;
            DesktopWindow found;
            found.handle = window;
            wchar_t caption[256] = {};
            ::GetWindowTextW(window, caption, 256);
            found.caption = caption;
            found.visible = ::IsWindowVisible(window) != FALSE;
            ::GetWindowRect(window, &found.rect);
            search.found.push_back(found);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The top-level window with this caption, whichever process it belongs to.
inline std::optional<DesktopWindow> WindowCaptioned(const wchar_t* caption) {
    const HWND window = ::FindWindowW(nullptr, caption);
    if (window == nullptr) return std::nullopt;
    DesktopWindow found{window, caption, ::IsWindowVisible(window) != FALSE};
    ::GetWindowRect(window, &found.rect);
    return found;
}

inline std::vector<RECT> MonitorRects() {
    std::vector<RECT> monitors;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (::GetMonitorInfoW(monitor, &info))
                reinterpret_cast<std::vector<RECT>*>(data)->push_back(info.rcMonitor);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

// A left click at a point of a window's client area, as the window's message queue receives it.
inline void ClickAt(HWND window, int x, int y) {
    const LPARAM point = MAKELPARAM(x, y);
    ::PostMessageW(window, WM_MOUSEMOVE, 0, point);
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::PostMessageW(window, WM_LBUTTONUP, 0, point);
}

// The screen's pixels in a rectangle, as 0x00RRGGBB, row by row.
struct ScreenPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

inline ScreenPicture CaptureScreen(const RECT& rect) {
    ScreenPicture picture;
    picture.width = rect.right - rect.left;
    picture.height = rect.bottom - rect.top;
    if (picture.width <= 0 || picture.height <= 0) return {};
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = picture.width;
    format.bmiHeader.biHeight = -picture.height;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = ::SelectObject(memory, bitmap);
    const bool copied = ::BitBlt(memory, 0, 0, picture.width, picture.height, screen, rect.left,
                                 rect.top, SRCCOPY) != FALSE;
    ::GdiFlush();
    if (copied) {
        const auto* source = static_cast<const std::uint32_t*>(bits);
        picture.pixels.assign(source, source + picture.width * picture.height);
        for (std::uint32_t& pixel : picture.pixels) pixel &= 0xFFFFFF;
    }
    ::SelectObject(memory, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return copied ? picture : ScreenPicture{};
}

// Writes the picture as a 32-bit BMP file, for a person to look at when a check of it failed.
inline bool SavePicture(const ScreenPicture& picture, const std::wstring& path) {
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = picture.width;
    info.biHeight = -picture.height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    const DWORD pixelBytes = static_cast<DWORD>(picture.pixels.size() * sizeof(std::uint32_t));
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + pixelBytes;
    HANDLE out = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool saved = ::WriteFile(out, &file, sizeof file, &written, nullptr) &&
                       ::WriteFile(out, &info, sizeof info, &written, nullptr) &&
                       ::WriteFile(out, picture.pixels.data(), pixelBytes, &written, nullptr);
    ::CloseHandle(out);
    return saved;
}

inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A text value under the current user's run key; nothing when there is none.
inline std::optional<std::wstring> RunValue(const wchar_t* name) {
    DWORD size = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, kRunKey, name, RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::wstring value(size / sizeof(wchar_t), L'\0');
    if (::RegGetValueW(HKEY_CURRENT_USER, kRunKey, name, RRF_RT_REG_SZ, nullptr, value.data(),
                       &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value;
}

inline void DeleteRunValue(const wchar_t* name) {
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, name);
}

inline void SetRunValue(const wchar_t* name, const std::wstring& value) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, name, REG_SZ, value.c_str(),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Keeps a run key's value as it was before the test, and puts it back afterwards.
class RunValueKeeper {
  public:
    explicit RunValueKeeper(const wchar_t* name) : name_(name), kept_(RunValue(name)) {}
    ~RunValueKeeper() {
        if (kept_)
            SetRunValue(name_, *kept_);
        else
            DeleteRunValue(name_);
    }
    RunValueKeeper(const RunValueKeeper&) = delete;
    RunValueKeeper& operator=(const RunValueKeeper&) = delete;

  private:
    const wchar_t* name_;
    std::optional<std::wstring> kept_;
};

// A program started by the test, and every process it starts in turn: they share a job that
// ends them all when the object goes.
class JobProcess {
  public:
    JobProcess() {
        job_ = ::CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        ::SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    ~JobProcess() {
        End();
        ::CloseHandle(job_);
    }
    JobProcess(const JobProcess&) = delete;
    JobProcess& operator=(const JobProcess&) = delete;

    // Starts the command line in the folder; whether it started.
    bool Start(std::wstring commandLine, const std::wstring& folder) {
        End();
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                              CREATE_SUSPENDED, nullptr, folder.empty() ? nullptr : folder.c_str(),
                              &startup, &started))
            return false;
        ::AssignProcessToJobObject(job_, started.hProcess);
        ::ResumeThread(started.hThread);
        ::CloseHandle(started.hThread);
        process_ = started.hProcess;
        processId_ = started.dwProcessId;
        return true;
    }

    DWORD Id() const { return processId_; }

    // The exit code, or nothing while it still runs after `limit`.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds limit) const {
        if (process_ == nullptr ||
            ::WaitForSingleObject(process_, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0)
            return std::nullopt;
        DWORD code = 0;
        ::GetExitCodeProcess(process_, &code);
        return code;
    }

    // Ends the program and whatever it started.
    void End() {
        ::TerminateJobObject(job_, 1);
        if (process_ != nullptr) {
            ::WaitForSingleObject(process_, 10000);
            ::CloseHandle(process_);
        }
        process_ = nullptr;
        processId_ = 0;
    }

  private:
    HANDLE job_ = nullptr;
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// Whether the process with this id has ended within `limit` (or never ran).
inline bool ProcessEndsWithin(DWORD processId, std::chrono::milliseconds limit) {
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (process == nullptr) return true;
    const bool ended =
        ::WaitForSingleObject(process, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return ended;
}

}  // namespace vardo::test
