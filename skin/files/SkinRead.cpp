#include "SkinRead.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "AsciiText.h"
#include "WinConvert.h"

namespace vardo {

namespace {

constexpr std::size_t kFixedHeaderSize = 16;  // version, name-text length, 8 reserved bytes

// A refusal in the words of a text marked in the context of kSkinFileTextContext.
OperatorText Reason(const char* wording, std::vector<std::string> arguments = {}) {
    return {kSkinFileTextContext, wording, std::move(arguments)};
}

std::string AsciiLowered(std::string_view text) {
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](char c) { return AsciiLower(c); });
    return folded;
}

std::uint32_t ReadU32(std::string_view bytes, std::size_t offset) {
    unsigned char b[4];
    std::memcpy(b, bytes.data() + offset, 4);
    return std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 |
           std::uint32_t{b[3]} << 24;
}

std::int32_t ReadI32(std::string_view bytes, std::size_t offset) {
    return static_cast<std::int32_t>(ReadU32(bytes, offset));
}

void AppendU32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>(value >> shift));
}

// The lines of the name text as a string list reads them: a line ends at CR LF, CR or LF, a
// final line break adds no empty line, and a NUL ends the text.
std::vector<std::string_view> SplitNameText(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end);
        if (!text.empty() && text.front() == '\r') text.remove_prefix(1);
        if (!text.empty() && text.front() == '\n') text.remove_prefix(1);
        if (lines.size() > kMaxSkinEntries) break;  // already too many; the caller refuses
    }
    return lines;
}

}  // namespace

std::optional<int> SkinHeaderSize(std::uint32_t version) {
    switch (version) {
        case kSkinVersion20000:
            return 16;
        case kSkinVersion30000:
            return 272;
        case kSkinVersion40000:
            return 96;
        default:
            return std::nullopt;
    }
}

std::string OneLine(std::string_view text) {
    std::string line;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        line.append(text.substr(0, end));
        text.remove_prefix(end);
        if (text.empty()) break;
        if (text.front() == '\r') text.remove_prefix(1);
        if (!text.empty() && text.front() == '\n') text.remove_prefix(1);
        if (!text.empty()) line.append(" / ");
    }
    return line;
}

std::string_view BareEntryName(std::string_view reference) {
    const std::size_t separator = reference.find_last_of("\\/");
    return separator == std::string_view::npos ? reference : reference.substr(separator + 1);
}

void TSkinReader::Clear() {
    version_ = 0;
    entries_.clear();
    data_.clear();
}

bool TSkinReader::LoadFromStream(std::string_view skinFile) {
    Clear();
    return Accept(UnpackingRefusal(skinFile));
}

bool TSkinReader::LoadFromContainer(std::string container) {
    Clear();
    return Accept(IndexingRefusal(std::move(container)));
}

bool TSkinReader::Accept(OperatorText refusal) {
    loadReason_ = std::move(refusal);
    return loadReason_.empty();
}

// Decompresses the file and indexes its container; what is wrong with it otherwise.
OperatorText TSkinReader::UnpackingRefusal(std::string_view skinFile) {
    if (skinFile.size() < 4) return Reason(VARDO_TEXT("vardo::SkinFile", "文件不足 4 字节"));
    const std::int32_t textSize = ReadI32(skinFile, 0);
    if (textSize < static_cast<std::int32_t>(kFixedHeaderSize) || textSize > TLZH::kMaxTextSize) {
        return Reason(VARDO_TEXT("vardo::SkinFile", "声明的解压大小 %1 不在 %2 到 %3 字节之间"),
                      {std::to_string(textSize), std::to_string(kFixedHeaderSize),
                       std::to_string(TLZH::kMaxTextSize)});
    }
    bool streamWhole = true;
    std::string container = TLZH::LZHUnpack(textSize, skinFile.substr(4), streamWhole);
    // The decoder fills a stream cut short with zeros; what it made of them is not the skin.
    if (!streamWhole) {
        return Reason(
            VARDO_TEXT("vardo::SkinFile", "文件不完整：数据在解压出声明的 %1 字节之前已结束"),
            {std::to_string(textSize)});
    }
    return IndexingRefusal(std::move(container));
}

// Reads the container into the reader; what is wrong with it otherwise, and the reader stays empty.
OperatorText TSkinReader::IndexingRefusal(std::string container) {
    if (container.size() < kFixedHeaderSize)
        return Reason(VARDO_TEXT("vardo::SkinFile", "容器不足 16 字节"));
    const std::string_view bytes = container;

    const std::uint32_t version = ReadU32(bytes, 0);
    const std::int32_t nameLength = ReadI32(bytes, 4);
    const std::optional<int> headerSize = SkinHeaderSize(version);
    if (!headerSize) {
        return Reason(VARDO_TEXT("vardo::SkinFile", "容器版本 %1 不是 20000、30000 或 40000"),
                      {std::to_string(version)});
    }
    const std::size_t namesEnd = static_cast<std::size_t>(*headerSize) + nameLength;
    if (nameLength < 0 || namesEnd > bytes.size()) {
        return Reason(VARDO_TEXT("vardo::SkinFile", "名称表长度 %1 超出容器"),
                      {std::to_string(nameLength)});
    }

    const std::vector<std::string_view> names =
        SplitNameText(bytes.substr(*headerSize, nameLength));
    if (names.size() > kMaxSkinEntries) {
        return Reason(VARDO_TEXT("vardo::SkinFile", "条目多于 %1 个"),
                      {std::to_string(kMaxSkinEntries)});
    }
    const std::size_t dataStart = namesEnd + 4 * names.size();
    if (dataStart > bytes.size())
        return Reason(VARDO_TEXT("vardo::SkinFile", "条目大小表超出容器"));

    std::vector<Entry> entries;
    entries.reserve(names.size());
    std::size_t offset = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::int32_t size = ReadI32(bytes, namesEnd + 4 * i);
        if (size < 0 || static_cast<std::size_t>(size) > bytes.size() - dataStart - offset) {
            // By number: a name is the file's own bytes, not fit for a terminal.
            return Reason(VARDO_TEXT("vardo::SkinFile", "第 %1 个条目的大小 %2 超出数据区"),
                          {std::to_string(i + 1), std::to_string(size)});
        }
        entries.push_back({std::string(names[i]), AsciiLowered(names[i]), offset,
                           static_cast<std::size_t>(size)});
        offset += size;
    }
    if (offset != bytes.size() - dataStart) {
        return Reason(VARDO_TEXT("vardo::SkinFile", "条目大小之和 %1 与数据区的 %2 字节不符"),
                      {std::to_string(offset), std::to_string(bytes.size() - dataStart)});
    }

    container.erase(0, dataStart);
    data_ = std::move(container);
    entries_ = std::move(entries);
    version_ = version;
    return {};
}

void TSkinReader::GetEntry(std::string_view name, std::string& out) const {
    out.clear();
    const std::string folded = AsciiLowered(name);
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const Entry& entry) { return entry.folded == folded; });
    if (found != entries_.end()) out.assign(data_, found->offset, found->size);
}

std::optional<std::string> TSkinReader::FindEntry(std::string_view pattern,
                                                  std::string& out) const {
    out.clear();
    const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) {
        return entry.folded.find(pattern) != std::string::npos;
    });
    if (found == entries_.end()) return std::nullopt;
    out.assign(data_, found->offset, found->size);
    return found->folded;
}

std::string_view TSkinReader::EntryName(int index) const {
    return entries_.at(index).name;
}

std::string_view TSkinReader::EntryData(int index) const {
    const Entry& entry = entries_.at(index);
    return std::string_view(data_).substr(entry.offset, entry.size);
}

std::string BuildSkinContainer(const std::vector<SkinEntry>& entries, std::uint32_t version) {
    const std::optional<int> headerSize = SkinHeaderSize(version);
    if (!headerSize) throw std::invalid_argument("unknown skin container version");
    if (entries.size() > kMaxSkinEntries) throw std::invalid_argument("too many skin entries");

    std::string names;
    std::size_t dataSize = 0;
    for (const SkinEntry& entry : entries) {
        if (entry.name.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
            throw std::invalid_argument("a skin entry name holds a line break or NUL");
        }
        names += entry.name;
        names += "\r\n";
        dataSize += entry.data.size();
    }
    const std::size_t total = *headerSize + names.size() + 4 * entries.size() + dataSize;
    if (total > static_cast<std::size_t>(TLZH::kMaxTextSize)) {
        throw std::invalid_argument("skin container too large");
    }

    std::string container;
    container.reserve(total);
    AppendU32(container, version);
    AppendU32(container, static_cast<std::uint32_t>(names.size()));
    container.resize(*headerSize, '\0');
    container += names;
    for (const SkinEntry& entry : entries) {
        AppendU32(container, static_cast<std::uint32_t>(entry.data.size()));
    }
    for (const SkinEntry& entry : entries) container += entry.data;
    return container;
}

}  // namespace vardo
