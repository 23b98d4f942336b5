#include "AutoStart.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "WideText.h"

namespace vardo::platform {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The value as the system itself reads it, or nothing.
std::optional<std::wstring> RunValue(const std::string& name) {
    wchar_t data[1024] = {};
    DWORD size = sizeof data;
    if (::RegGetValueW(HKEY_CURRENT_USER, kRunKey, WideText(name).c_str(), RRF_RT_REG_SZ, nullptr,
                       data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(data);
}

// Writes the value as it stands, as an earlier version or another program would.
bool SetRunValue(const std::string& name, const std::wstring& value) {
    return ::RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, WideText(name).c_str(), REG_SZ,
                             value.c_str(),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

// The value is a plain string under the current user's run key: the path in quotes, so that
// Windows does not split it at a blank; a value of an earlier version, without them, still counts.
TEST(AutoStartWindowsTest, WriteReadAndDelete_TheRunValueOfTheCurrentUser) {
    const std::string name = "VardoTest" + std::to_string(::GetCurrentProcessId());
    const std::string program = "C:\\Program Files\\Vardo 站\\vardo.exe";
    EXPECT_FALSE(RegReadEquals(name, program));
    ASSERT_TRUE(RegWriteText(name, program));
    EXPECT_EQ(RunValue(name), L"\"" + WideText(program) + L"\"");
    EXPECT_TRUE(RegReadEquals(name, program));
    ASSERT_TRUE(SetRunValue(name, WideText(program)));
    EXPECT_TRUE(RegReadEquals(name, program));
    EXPECT_FALSE(RegReadEquals(name, "C:\\Program Files\\Vardo 站\\other.exe"));
    EXPECT_EQ(AutoStartEntryPath(name),
              "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\" + name);
    RegDeleteName(name);
    EXPECT_EQ(RunValue(name), std::nullopt);
    EXPECT_FALSE(RegReadEquals(name, program));
    RegDeleteName(name);  // an absent value stays absent
}

}  // namespace
}  // namespace vardo::platform
