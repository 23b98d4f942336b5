// wintestclient: a small Win32 program whose behaviour the tests choose on the command line, the
// counterpart of xtestclient for Windows and Wine. It opens top-level windows with given captions
// and sizes, reports where it runs, and exits after a given time with a given code.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr const wchar_t* kUsage = LR"(usage: wintestclient [options]

Arguments that do not start with "--" are accepted and ignored (--write-args reports them).

  --window CAPTION   open a top-level window with this caption (repeatable)
  --size WxH         size of every window (default 300x200)
  --position X,Y     position of every window (default 100,100)
  --lifetime MS      exit after MS milliseconds (default: run until ended)
  --exit-code N      exit code at the end of the lifetime (default 0)
  --ready FILE       once the windows exist, write the process id to FILE (written to FILE.tmp
                     and renamed, so FILE appears complete)
  --write-cwd FILE   write the working directory to FILE (UTF-8) at start
  --write-args FILE  write the arguments, one per line (UTF-8), to FILE at start
)";

struct Options {
    std::vector<std::wstring> captions;
    int width = 300;
    int height = 200;
    int left = 100;
    int top = 100;
    int lifetime = -1;
    unsigned exitCode = 0;
    std::wstring ready;
    std::wstring writeCwd;
    std::wstring writeArgs;
};

std::string Utf8(const std::wstring& text) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr,
                                             nullptr);
    std::string bytes(static_cast<size_t>(length > 0 ? length - 1 : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
    if (FILE* file = _wfopen(path.c_str(), L"wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

[[noreturn]] void Usage(int code) {
    std::fputws(kUsage, code == 0 ? stdout : stderr);
    std::exit(code);
}

Options Parse(int argc, wchar_t** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::wstring option = argv[i];
        if (option.rfind(L"--", 0) != 0) continue;
        if (option == L"--help") Usage(0);
        if (i + 1 >= argc) Usage(2);
        const std::wstring value = argv[++i];
        if (option == L"--window") {
            options.captions.push_back(value);
        } else if (option == L"--size") {
            if (std::swscanf(value.c_str(), L"%dx%d", &options.width, &options.height) != 2)
                Usage(2);
        } else if (option == L"--position") {
            if (std::swscanf(value.c_str(), L"%d,%d", &options.left, &options.top) != 2) Usage(2);
        } else if (option == L"--lifetime") {
            options.lifetime = std::stoi(value);
        } else if (option == L"--exit-code") {
            options.exitCode = static_cast<unsigned>(std::stoul(value));
        } else if (option == L"--ready") {
            options.ready = value;
        } else if (option == L"--write-cwd") {
            options.writeCwd = value;
        } else if (option == L"--write-args") {
            options.writeArgs = value;
        } else {
            Usage(2);
        }
    }
    return options;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const Options options = Parse(argc, argv);
    if (!options.writeCwd.empty()) {
        wchar_t folder[MAX_PATH * 4] = {};
        ::GetCurrentDirectoryW(MAX_PATH * 4, folder);
        WriteFile(options.writeCwd, Utf8(folder));
    }
    if (!options.writeArgs.empty()) {
        std::string lines;
        for (int i = 1; i < argc; ++i) lines += Utf8(argv[i]) + "\n";
        WriteFile(options.writeArgs, lines);
    }

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"wintestclient";
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    ::RegisterClassW(&windowClass);
    // The first window takes the show state the starter asked for (SW_HIDE for a hidden start).
    for (const std::wstring& caption : options.captions) {
        const HWND window = ::CreateWindowExW(
            0, windowClass.lpszClassName, caption.c_str(), WS_OVERLAPPEDWINDOW, options.left,
            options.top, options.width, options.height, nullptr, nullptr, windowClass.hInstance,
            nullptr);
        ::ShowWindow(window, SW_SHOWDEFAULT);
    }
    if (!options.ready.empty()) {
        const std::wstring temporary = options.ready + L".tmp";
        WriteFile(temporary, std::to_string(::GetCurrentProcessId()));
        ::MoveFileExW(temporary.c_str(), options.ready.c_str(), MOVEFILE_REPLACE_EXISTING);
    }

    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        const DWORD wait =
            options.lifetime < 0
                ? INFINITE
                : static_cast<DWORD>(std::max<LONGLONG>(
                      0, options.lifetime - static_cast<LONGLONG>(::GetTickCount64() - start)));
        if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT) == WAIT_TIMEOUT)
            return static_cast<int>(options.exitCode);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}
