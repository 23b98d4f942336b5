// The skin container reader must accept any file: it either refuses it with the foreign-version
// text and holds nothing, or serves entries that add up to the data it read and that a container
// built from them gives back unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "SkinRead.h"
#include "WinConvert.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    // Declared sizes up to the reader's limit are valid but slow to fill; keep runs quick.
    if (size >= 4) {
        std::int32_t declared;
        std::memcpy(&declared, data, 4);
        if (declared > (1 << 12)) return 0;
    }

    vardo::TSkinReader reader;
    if (!reader.LoadFromStream(file)) {
        if (reader.Count() != 0 || reader.LoadError() != vardo::kForeignSkinVersionText) {
            std::abort();
        }
        return 0;
    }
    std::vector<vardo::SkinEntry> entries;
    std::string out;
    for (int i = 0; i < reader.Count(); ++i) {
        entries.push_back({std::string(reader.EntryName(i)), std::string(reader.EntryData(i))});
        reader.GetEntry(reader.EntryName(i), out);
        if (out.size() > static_cast<std::size_t>(vardo::TLZH::kMaxTextSize)) std::abort();
    }
    reader.FindEntry(".ini", out);

    vardo::TSkinReader again;
    if (!again.LoadFromStream(
            vardo::PackSkinFile(vardo::BuildSkinContainer(entries, reader.Version())))) {
        std::abort();
    }
    if (again.Count() != reader.Count()) std::abort();
    for (int i = 0; i < reader.Count(); ++i) {
        if (again.EntryName(i) != reader.EntryName(i) ||
            again.EntryData(i) != reader.EntryData(i)) {
            std::abort();
        }
    }
    return 0;
}
