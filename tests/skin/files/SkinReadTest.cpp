#include "SkinRead.h"

#include <gtest/gtest.h>

#include "WinConvert.h"

namespace vardo {
namespace {

std::string U32(std::uint32_t value) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>(value >> shift));
    return bytes;
}

// A container written field by field, so that tests can break any field.
std::string RawContainer(std::uint32_t version, std::string_view names,
                         const std::vector<std::int32_t>& sizes, std::string_view data,
                         int headerSize = 16) {
    std::string container = U32(version) + U32(static_cast<std::uint32_t>(names.size()));
    container.resize(headerSize, '\x5A');  // reserved and skipped bytes: any content
    container += names;
    for (const std::int32_t size : sizes) container += U32(static_cast<std::uint32_t>(size));
    container += data;
    return container;
}

const std::vector<SkinEntry> kEntries = {
    {"Skin.INI", "[Personality]\r\nmenuBar=Menu.bmp\r\n"},
    {"Frame.BMP", std::string("BM\0\x01\x02", 5)},
    {"empty.bmp", ""},
    {"frame.bmp", "second"},
};

TEST(SkinReadTest, EachVersion_PlacesTheNameTextAfterItsHeader) {
    for (const auto& [version, headerSize] :
         {std::pair{kSkinVersion20000, 16}, {kSkinVersion30000, 272}, {kSkinVersion40000, 96}}) {
        const std::string container = BuildSkinContainer(kEntries, version);
        EXPECT_EQ(container.substr(headerSize, 10), "Skin.INI\r\n");

        TSkinReader reader;
        ASSERT_TRUE(reader.LoadFromStream(PackSkinFile(container))) << version;
        EXPECT_EQ(reader.Version(), version);
        EXPECT_EQ(reader.Count(), 4);
        EXPECT_EQ(reader.EntryName(1), "Frame.BMP");
        EXPECT_EQ(reader.EntryData(3), "second");
        EXPECT_TRUE(reader.LoadError().empty());
    }
}

TEST(SkinReadTest, Lookups_IgnoreCaseAndFindTheFirstOfRepeatedNames) {
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(PackSkinFile(BuildSkinContainer(kEntries))));
    std::string out = "stale";
    reader.GetEntry("FRAME.bmp", out);
    EXPECT_EQ(out, std::string("BM\0\x01\x02", 5));
    reader.GetEntry(BareEntryName("skins\\blue/Frame.bmp"), out);
    EXPECT_EQ(out, std::string("BM\0\x01\x02", 5));
    reader.GetEntry("missing.bmp", out);
    EXPECT_EQ(out, "");

    EXPECT_EQ(reader.FindEntry(".ini", out), "skin.ini");
    EXPECT_EQ(out, kEntries[0].data);
    EXPECT_EQ(reader.FindEntry(".INI", out), std::nullopt);  // the pattern is not folded
    EXPECT_EQ(out, "");
}

TEST(SkinReadTest, NameText_WithOrWithoutFinalLineBreak) {
    for (const std::string names : {"a.bmp\r\nb.ini\r\n", "a.bmp\r\nb.ini", "a.bmp\nb.ini\r"}) {
        TSkinReader reader;
        ASSERT_TRUE(reader.LoadFromStream(
            PackSkinFile(RawContainer(kSkinVersion20000, names, {3, 2}, "AAABB"))));
        ASSERT_EQ(reader.Count(), 2);
        std::string out;
        reader.GetEntry("b.ini", out);
        EXPECT_EQ(out, "BB");
    }
    TSkinReader reader;
    ASSERT_TRUE(
        reader.LoadFromStream(PackSkinFile(RawContainer(kSkinVersion40000, "", {}, "", 96))));
    EXPECT_EQ(reader.Count(), 0);
}

TEST(SkinReadTest, ForeignOrDamagedFiles_AreRefusedAndLeaveTheReaderEmpty) {
    const auto pack = [](const std::string& container) { return PackSkinFile(container); };
    std::string tooMany;
    for (int i = 0; i <= kMaxSkinEntries; ++i) tooMany += "e\r\n";
    const std::string hugeSize = U32(TLZH::kMaxTextSize + 1) + "\x00\x00";
    const std::vector<std::string> refused = {
        "",
        "\x10\x00",
        pack(RawContainer(10000, "a.bmp", {1}, "A")),
        pack(std::string(8, '\0')),
        U32(0),
        U32(0x80000000u) + "xyz",
        hugeSize,
        pack(RawContainer(kSkinVersion20000, "a.bmp", {1}, "A").replace(4, 4, U32(0xFFFFFFFFu))),
        pack(RawContainer(kSkinVersion20000, "a.bmp", {2}, "A")),
        pack(RawContainer(kSkinVersion20000, "a.bmp", {1}, "AB")),
        pack(RawContainer(kSkinVersion20000, "a.bmp\r\nb", {1, -1}, "AB")),
        pack(RawContainer(kSkinVersion20000, "a\r\nb", {0x7FFFFFFF, 0x7FFFFFFF}, "AB")),
        pack(RawContainer(kSkinVersion20000, "a.bmp\r\nb.bmp", {1}, "")),
        pack(RawContainer(kSkinVersion20000, tooMany, std::vector<std::int32_t>(1002, 0), "")),
    };
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(PackSkinFile(BuildSkinContainer(kEntries))));
    for (const std::string& file : refused) {
        EXPECT_FALSE(reader.LoadFromStream(file)) << ::testing::PrintToString(file.substr(0, 8));
        EXPECT_EQ(reader.Count(), 0);
        EXPECT_EQ(reader.Version(), 0u);
        EXPECT_EQ(reader.LoadError(), kForeignSkinVersionText);
        EXPECT_FALSE(reader.LoadReason().empty()) << "the log and the tooltip say what is wrong";
    }
    reader.LoadFromStream(refused[2]);
    EXPECT_NE(reader.LoadReason().Worded().find("10000"), std::string::npos)
        << reader.LoadReason().Worded();
    reader.LoadFromStream(refused[8]);
    EXPECT_NE(reader.LoadReason().Worded().find("第 1 个条目"), std::string::npos)
        << reader.LoadReason().Worded();
    std::string tooManyButOne;
    for (int i = 0; i < kMaxSkinEntries; ++i) tooManyButOne += "e\r\n";
    EXPECT_TRUE(reader.LoadFromStream(pack(RawContainer(
        kSkinVersion20000, tooManyButOne, std::vector<std::int32_t>(kMaxSkinEntries, 0), ""))));

    // A container given already decompressed is read and refused alike.
    EXPECT_TRUE(reader.LoadFromContainer(BuildSkinContainer(kEntries, kSkinVersion30000)));
    EXPECT_EQ(reader.Version(), kSkinVersion30000);
    EXPECT_EQ(reader.Count(), static_cast<int>(kEntries.size()));
    for (const std::string& container : {std::string(15, '\0'), std::string(300, '\0')}) {
        EXPECT_FALSE(reader.LoadFromContainer(container));
        EXPECT_EQ(reader.Count(), 0);
        EXPECT_EQ(reader.LoadError(), kForeignSkinVersionText);
    }
}

TEST(SkinReadTest, AFileCutShort_IsRefusedAsIncomplete) {
    std::vector<SkinEntry> entries = kEntries;
    entries.push_back({"Big.bmp", std::string(6000, '\x33') + "tail"});
    const std::string file = PackSkinFile(BuildSkinContainer(entries));
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(file));
    for (const std::size_t kept : {std::size_t{4}, std::size_t{40}, file.size() - 1}) {
        EXPECT_FALSE(reader.LoadFromStream(file.substr(0, kept))) << kept;
        EXPECT_EQ(reader.Count(), 0);
        EXPECT_EQ(reader.LoadError(), kForeignSkinVersionText);
        EXPECT_NE(reader.LoadReason().Worded().find("文件不完整"), std::string::npos)
            << reader.LoadReason().Worded();
    }
}

TEST(SkinReadTest, BuildContainer_RefusesWhatCannotBeReadBack) {
    EXPECT_THROW(BuildSkinContainer(kEntries, 12345), std::invalid_argument);
    EXPECT_THROW(BuildSkinContainer({{"a\r\nb", ""}}), std::invalid_argument);
    EXPECT_THROW(BuildSkinContainer(std::vector<SkinEntry>(kMaxSkinEntries + 1)),
                 std::invalid_argument);
}

}  // namespace
}  // namespace vardo
