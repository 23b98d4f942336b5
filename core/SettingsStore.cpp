#include "SettingsStore.h"

#include <system_error>

#include "AtomicFile.h"
#include "IniText.h"
#include "TextFields.h"
#include "TimeText.h"

namespace vardo {

namespace {

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return upper;
}

std::optional<std::string> ReadValue(const std::string& file, std::string_view section,
                                     std::string_view key) {
    std::error_code error;
    const std::string bytes = ReadFileBytes(file, error);
    if (error) return std::nullopt;
    return IniFindValue(bytes, section, key);
}

constexpr int kSecondsPerDay = 24 * 3600;

}  // namespace

SettingsWriteError::SettingsWriteError(const std::string& path, const std::string& reason)
    : std::runtime_error("Unable to write to " + path), path_(path), reason_(reason) {}

std::string SettingsFilePath(std::string_view programFilePath) {
    const size_t slash = programFilePath.rfind('/');
    const size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    std::string_view name = programFilePath.substr(nameStart);
    // A leading dot marks a hidden file, not an extension.
    const size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return std::string(programFilePath.substr(0, nameStart)) + UpperAscii(name) + ".INI";
}

void WriteSetting(const std::string& file, std::string_view section, std::string_view key,
                  std::string_view value) {
    std::error_code error;
    const std::string bytes = ReadFileBytes(file, error);
    // A file that exists but cannot be read is not replaced: its other keys would be lost.
    if (error && error != std::errc::no_such_file_or_directory)
        throw SettingsWriteError(file, error.message());
    const std::string updated = IniSetValue(bytes, section, key, value);
    // A value stored already costs no write (the start stores several, each flushed to disk).
    if (!error && updated == bytes) return;
    const WriteResult written = WriteFileAtomically(file, updated);
    if (!written) throw SettingsWriteError(file, written.reason);
}

std::string ReadSetting(const std::string& file, std::string_view section, std::string_view key) {
    return ReadValue(file, section, key).value_or(std::string());
}

std::string ReadSettingDef(const std::string& file, std::string_view section, std::string_view key,
                           std::string_view defaultValue) {
    return ReadValue(file, section, key).value_or(std::string(defaultValue));
}

bool IsYes(std::string_view text) {
    return EqualsIgnoringCase(text, "YES") || EqualsIgnoringCase(text, "TRUE");
}

std::string_view YesNoText(bool flag) {
    return flag ? "YES" : "NO";
}

int TransDegreeFromText(std::string_view text) {
    constexpr int kOpaque = 255;
    constexpr int kLeastOpacity = 128;
    const std::optional<int> value = ParseInt(text);
    if (!value) return kOpaque;
    const int degree = *value & 0xFF;
    return degree < kLeastOpacity ? kLeastOpacity : degree;
}

int ReadTransDegree(const std::string& file, std::string_view section, std::string_view key) {
    return TransDegreeFromText(ReadSetting(file, section, key));
}

std::optional<int> StoredTimeSeconds(std::string_view text) {
    if (TrimBlanks(text).empty()) return std::nullopt;
    const std::int64_t seconds = TimeTextToSeconds(text);
    if (seconds < 0 || seconds >= kSecondsPerDay) return std::nullopt;
    return static_cast<int>(seconds);
}

std::optional<int> ReadSettingTime(const std::string& file, std::string_view section,
                                   std::string_view key) {
    const auto value = ReadValue(file, section, key);
    return value ? StoredTimeSeconds(*value) : std::nullopt;
}

}  // namespace vardo
