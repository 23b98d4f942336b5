#pragma once

// Case folding of the ASCII letters only: names in skin files compare this way whatever the
// locale, and bytes of other encodings pass unchanged.

namespace vardo {

constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace vardo
