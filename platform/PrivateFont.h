#pragma once

#include <string>

namespace vardo::platform {

// Makes a font file available to this program's own text (the stand-in for adding a font
// resource). Needs a running QGuiApplication. False when the file is missing or not a font.
bool AddPrivateFont(const std::string& path);

}  // namespace vardo::platform
