// The skin definition's INI reader must accept any text; every value it returns other than the
// default is trimmed and a single line.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "WinSkinIni.h"

namespace {

bool IsCleanValue(const std::string& value) {
    if (value.empty()) return false;
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    return !blank(value.front()) && !blank(value.back()) &&
           value.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vardo::TQuickIni ini;
    ini.LoadFromStream(text);
    const std::string kDefault = "\x01";
    // A few sections suffice: each lookup walks the whole text, and runs must stay quick.
    const std::vector<std::string> sections = ini.ReadSections();
    for (std::size_t i = 0; i < sections.size() && i < 4; ++i) {
        const std::string& section = sections[i];
        for (const char* key : {"image", "Action", "", "color", "0x"}) {
            const std::string value = ini.ReadString(section, key, kDefault);
            if (value != kDefault && !IsCleanValue(value)) std::abort();
            ini.ReadInteger(section, key, -1);
        }
    }
    return 0;
}
