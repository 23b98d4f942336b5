#include "AutoStart.h"

#include <windows.h>

#include "WideText.h"

namespace vardo::platform {

namespace {

// The current user's run key: a program without elevation cannot write the machine's, and the
// station's operator is the user whose session starts it.
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A run value is a command line: the path goes in quotes, or Windows would split
// C:\Program Files\... at its blank and start C:\Program.exe, whoever put it there.
std::wstring RunCommand(const std::string& programPath) {
    return L"\"" + WideText(programPath) + L"\"";
}

}  // namespace

std::string AutoStartEntryPath(const std::string& name) {
    return "HKEY_CURRENT_USER\\" + Utf8Text(kRunKey) + "\\" + name;
}

bool RegReadEquals(const std::string& name, const std::string& programPath) {
    const std::wstring value = WideText(name);
    DWORD type = 0;
    DWORD size = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, kRunKey, value.c_str(), RRF_RT_REG_SZ, &type, nullptr,
                       &size) != ERROR_SUCCESS)
        return false;
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    if (::RegGetValueW(HKEY_CURRENT_USER, kRunKey, value.c_str(), RRF_RT_REG_SZ, &type,
                       data.data(), &size) != ERROR_SUCCESS)
        return false;
    data.resize(wcsnlen(data.c_str(), data.size()));
    // Earlier versions wrote the path without quotes.
    return data == RunCommand(programPath) || data == WideText(programPath);
}

bool RegWriteText(const std::string& name, const std::string& programPath) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring data = RunCommand(programPath);
    const LONG result =
        ::RegSetValueExW(key, WideText(name).c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(data.c_str()),
                         static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

void RegDeleteName(const std::string& name) {
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, WideText(name).c_str());
}

}  // namespace vardo::platform
