#pragma once

#include <string>

namespace vardo::platform {

// Makes a font file available to this program's own text, and to no other program: Qt's
// application font, which on Windows adds the file with AddFontResourceExW(FR_PRIVATE) and on
// Linux to fontconfig's set of the process. Needs a running QGuiApplication. False when the file
// is missing or not a font.
bool AddPrivateFont(const std::string& path);

}  // namespace vardo::platform
