#pragma once

#include <QString>
#include <string_view>

namespace vardo {

// The core's UTF-8 texts as the forms show them.
inline QString ToQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace vardo
