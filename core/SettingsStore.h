#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vardo {

// The one section the program keeps its options in.
inline constexpr std::string_view kSettingsSection = "START";

// Raised by a settings write that could not be completed; what() is "Unable to write to <path>",
// reason() what the system said (a full disk, a read-only folder).
class SettingsWriteError : public std::runtime_error {
  public:
    SettingsWriteError(const std::string& path, const std::string& reason);
    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }
    // what() with the reason on a second line: the text the operator is shown.
    std::string Report() const { return what() + ("\n" + reason_); }

  private:
    std::string path_;
    std::string reason_;
};

// The program file's path with its extension replaced by ".INI" (added when it has none) and the
// file name, not the folders, upper-cased in a-z only: "/opt/vardo/vardo" ->
// "/opt/vardo/VARDO.INI".
std::string SettingsFilePath(std::string_view programFilePath);

// Every call opens the file, performs its one operation and closes it; nothing is cached.
// A missing or unreadable file reads as a file without keys. A write creates the file, section and
// key as needed, replaces the file atomically, and throws SettingsWriteError when it fails. A write
// of the value the file holds already leaves the file alone.
void WriteSetting(const std::string& file, std::string_view section, std::string_view key,
                  std::string_view value);
std::string ReadSetting(const std::string& file, std::string_view section, std::string_view key);
std::string ReadSettingDef(const std::string& file, std::string_view section, std::string_view key,
                           std::string_view defaultValue);

// Yes exactly when the upper-case text is "YES" or "TRUE" (no trimming).
bool IsYes(std::string_view text);
std::string_view YesNoText(bool flag);  // "YES" / "NO"

// The transparency degree rule: empty or not an integer -> 255; otherwise the lowest 8 bits, and
// below 128 -> 128.
int TransDegreeFromText(std::string_view text);
int ReadTransDegree(const std::string& file, std::string_view section, std::string_view key);

// The stored-time rule: the text passes through TimeTextToSeconds and SecondsToTimeText; the
// result is a time of day in seconds. An empty text, or one that normalises to 24 hours or more
// (or below zero), is no time of day: nothing is returned and the control keeps its default.
std::optional<int> StoredTimeSeconds(std::string_view text);
std::optional<int> ReadSettingTime(const std::string& file, std::string_view section,
                                   std::string_view key);

}  // namespace vardo
