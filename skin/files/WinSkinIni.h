#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vardo {

// The skin definition's INI reader. Values are the file's bytes (the caller decodes them).
// Lines end at CR LF, CR or LF; a NUL ends the text; lines are trimmed of blanks and control
// characters, and empty lines and those starting with ';' are dropped. A line "[...]" opens a
// section. Section and key names match without regard to ASCII letter case; within a section the
// first line with the key wins, even when its value is empty.
class TQuickIni {
  public:
    // Reads the text (a stream's bytes from its position to its end), replacing what was read
    // before.
    void LoadFromStream(std::string_view text);

    // The trimmed value after the first '=' of the section's first line whose key matches, or
    // def when the section or key is absent or that value is empty.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;

    // ReadString as a decimal number, or hexadecimal after "0x"/"0X" (up to 8 digits, taken as
    // 32 bits); def when the value does not convert or the key is absent.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;

    // The section names without brackets, trimmed, in file order.
    std::vector<std::string> ReadSections() const;

  private:
    std::vector<std::string> lines_;
    std::vector<std::pair<std::string, std::size_t>> sections_;  // "[name]" and its index in lines_
};

}  // namespace vardo
