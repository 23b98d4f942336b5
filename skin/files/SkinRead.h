#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "OperatorText.h"

namespace vardo {

// The container versions and the size of their headers, in which the entry-name text follows.
inline constexpr std::uint32_t kSkinVersion20000 = 20000;  // 16-byte header
inline constexpr std::uint32_t kSkinVersion30000 = 30000;  // 272-byte header
inline constexpr std::uint32_t kSkinVersion40000 = 40000;  // 96-byte header

// The most entries a container may list.
inline constexpr int kMaxSkinEntries = 1001;

// The context of the skin files' texts for the translators.
inline constexpr char kSkinFileTextContext[] = "vardo::SkinFile";
// What a reader shows when it refuses a file: a foreign container version, or a damaged file.
inline constexpr const char* kForeignSkinVersionText =
    VARDO_TEXT("vardo::SkinFile", "此文件版本不同\r请升级新版本 !");

// A message on one line, for a log or a terminal: each line break (CR LF, CR or LF) inside it
// becomes " / ", so that a CR cannot send the cursor back over what the line began with.
std::string OneLine(std::string_view text);

// One named entry of a container.
struct SkinEntry {
    std::string name;  // as written in the container
    std::string data;
};

// The header size that comes before the name text for a container version, or nothing for a
// foreign version.
std::optional<int> SkinHeaderSize(std::uint32_t version);

// The entry name that a bitmap reference in a skin definition names: the text after its last
// folder separator ('\\' or '/').
std::string_view BareEntryName(std::string_view reference);

// Decompresses a skin file and serves its entries by name. Names match without regard to ASCII
// letter case; where a name occurs twice, the first entry wins.
//
// The reader holds lz4's contract for any input: it never reads outside it and allocates at most
// the codec's limit. A declared size above TLZH::kMaxTextSize, a negative name length, entry
// sizes that do not add up to the data area, more than kMaxSkinEntries entries, or a file that ends
// before its declared size is decoded refuse the file like a foreign version.
class TSkinReader {
  public:
    // Decompresses and indexes a skin file. True when the container is one of the three versions
    // and whole; otherwise the reader is left empty and LoadError() says why.
    bool LoadFromStream(std::string_view skinFile);
    // The same for a container already decompressed (for the fuzz target of what reads the
    // entries, which would otherwise spend its time in the decoder).
    bool LoadFromContainer(std::string container);

    // The first entry whose name equals name (ASCII case folded), or empty when there is none.
    void GetEntry(std::string_view name, std::string& out) const;

    // The first entry whose lower-cased name contains pattern (not folded: pass lower case);
    // returns that lower-cased name, or nothing (and an empty out) without a match.
    std::optional<std::string> FindEntry(std::string_view pattern, std::string& out) const;

    // The container version read by the last successful load (0 before).
    std::uint32_t Version() const { return version_; }

    // The entry count and, in container order, each entry's name (as written) and bytes.
    int Count() const { return static_cast<int>(entries_.size()); }
    std::string_view EntryName(int index) const;
    std::string_view EntryData(int index) const;

    // Why the last load failed (kForeignSkinVersionText), empty after a successful load.
    std::string_view LoadError() const {
        return loadReason_.empty() ? "" : kForeignSkinVersionText;
    }
    // What exactly was wrong with the file the last load refused (a short text in words, for the
    // log and the operator's tooltip), empty after a successful load.
    const OperatorText& LoadReason() const { return loadReason_; }

  private:
    struct Entry {
        std::string name;
        std::string folded;  // the name in ASCII lower case, as lookups compare it
        std::size_t offset;  // in data_
        std::size_t size;
    };

    void Clear();
    bool Accept(OperatorText refusal);  // true for an empty refusal
    OperatorText UnpackingRefusal(std::string_view skinFile);
    OperatorText IndexingRefusal(std::string container);

    std::uint32_t version_ = 0;
    std::vector<Entry> entries_;
    std::string data_;  // the entry data area, concatenated in name order
    OperatorText loadReason_;
};

// A container of the given version (one of the three) holding the entries in order: header
// (reserved bytes zero), names joined by CR LF, sizes, data. Throws std::invalid_argument for a
// foreign version, more than kMaxSkinEntries entries, a name holding CR or LF, or a container
// above TLZH::kMaxTextSize.
std::string BuildSkinContainer(const std::vector<SkinEntry>& entries,
                               std::uint32_t version = kSkinVersion20000);

}  // namespace vardo
