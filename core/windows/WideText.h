#pragma once

#include <string>
#include <string_view>

namespace vardo {

// The program's UTF-8 text as the UTF-16 of the Windows interfaces, and back. Bytes that are not
// UTF-8 become U+FFFD; a lone surrogate becomes U+FFFD.
std::wstring WideText(std::string_view utf8);
std::string Utf8Text(std::wstring_view wide);

// The system's message for a Windows error code, in UTF-8, without the trailing line end.
std::string WindowsErrorText(unsigned long error);

}  // namespace vardo
