#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vardo {

// Paths are UTF-8 text in the program. A std::filesystem::path made from a std::string reads the
// bytes in the ANSI code page on Windows, which mangles every name outside it (a Chinese folder
// on a Western system): paths go through these two instead.
std::filesystem::path Utf8Path(std::string_view utf8);
std::string PathUtf8(const std::filesystem::path& path);

}  // namespace vardo
