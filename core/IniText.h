#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vardo {

// Reading and writing one value in the bytes of an INI file, as the private-profile functions of
// the original platform do: section and key names match without regard to ASCII case, blanks
// around names and values are ignored, a value in matching quotes loses them, the first matching
// section and the first matching key in it win. Lines end at CR LF, LF or a lone CR; a line opens
// a section only when it starts with '[' and holds a ']'. The file is decoded as UTF-8 when it is
// valid UTF-8, else as GB18030; values are returned and taken as UTF-8.

// The value of key in section, or nothing when the section or key is absent.
std::optional<std::string> IniFindValue(std::string_view fileBytes, std::string_view section,
                                        std::string_view key);

// The file bytes after setting key in section to value. The key's line is rewritten in place;
// every other line is kept byte for byte. A missing key is added after the last entry of the
// section, a missing section at the end of the file. New lines end in CR LF and are encoded as
// the file is (GB18030 unless the file is UTF-8 with non-ASCII text). A CR or LF in value ends
// the value, since a value is one line.
std::string IniSetValue(std::string_view fileBytes, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace vardo
