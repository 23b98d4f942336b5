#include "WinConvert.h"

#include <gtest/gtest.h>

#include "ReferenceLzh.h"
#include "SampleBytes.h"

namespace vardo {
namespace {

using test::FlatBitmapBytes;
using test::RandomBytes;
using test::SkinLikeBitmapBytes;
using test::TextLikeBytes;

// Packs text, checks that both our decoder and the plain one give it back, and returns the
// stream.
std::string ExpectRoundTrip(const std::string& text) {
    const std::string stream = TLZH::LZHPack(text);
    const auto size = static_cast<std::int32_t>(text.size());
    EXPECT_EQ(TLZH::LZHUnpack(size, stream), text);
    EXPECT_EQ(reference::Unpack(size, stream), text);
    return stream;
}

TEST(WinConvertTest, RoundTrip_RandomRepetitiveAndBitmapData) {
    // 300 kB of random bytes are as many symbols: the tree is rebuilt about 18 times.
    const std::string random = RandomBytes(300'000, 1);
    EXPECT_GE(ExpectRoundTrip(random).size(), random.size());

    const std::string text = TextLikeBytes(400'000, 2);
    EXPECT_LT(ExpectRoundTrip(text).size(), text.size() / 2);

    const std::string flat = FlatBitmapBytes(300, 200, 0x336699);
    EXPECT_LT(ExpectRoundTrip(flat).size(), flat.size() / 40);

    ExpectRoundTrip(SkinLikeBitmapBytes(257, 93, 3));
    ExpectRoundTrip(std::string(100'000, '\0') + RandomBytes(5000, 4) + std::string(9000, 'z'));
    for (std::size_t size = 0; size < 70; ++size) ExpectRoundTrip(RandomBytes(size, 5) + "aaaa");
}

TEST(WinConvertTest, RoundTrip_EveryByteValueInLongRuns) {
    std::string text;
    for (int round = 0; round < 40; ++round) {
        for (int byte = 0; byte < 256; ++byte) text.append(1 + (byte * 7 + round) % 90, char(byte));
    }
    ExpectRoundTrip(text);
}

TEST(WinConvertTest, DistanceOneMatch_RepeatsOneByteSixtyTimes) {
    // One literal, then a match of length 60 at position 0 (distance 1): 9 + 9 + 9 bits.
    const std::string text(61, 'a');
    EXPECT_LE(ExpectRoundTrip(text).size(), 4u);
}

TEST(WinConvertTest, FirstMatch_ReachesIntoTheInitialSpaces) {
    // Nothing has been output yet, so the matches can only copy the ring's initial spaces.
    const std::string text = std::string(120, ' ') + "x";
    const std::string stream = ExpectRoundTrip(text);
    // Two matches of 60 and a literal fit 45 bits; a literal space first would need 54.
    EXPECT_LE(stream.size(), 6u);
}

TEST(WinConvertTest, TruncatedOrEmptyInput_StillDecodesToTheDeclaredSize) {
    const std::string text = TextLikeBytes(20'000, 6);
    const std::string stream = TLZH::LZHPack(text);
    const std::string truncated = stream.substr(0, stream.size() / 3);
    const std::string decoded = TLZH::LZHUnpack(20'000, truncated);
    ASSERT_EQ(decoded.size(), 20'000u);
    EXPECT_EQ(decoded, reference::Unpack(20'000, truncated).substr(0, 20'000));
    EXPECT_EQ(decoded.substr(0, 1000), text.substr(0, 1000));

    EXPECT_EQ(TLZH::LZHUnpack(5000, "").size(), 5000u);
    EXPECT_EQ(TLZH::LZHUnpack(0, stream), "");
    EXPECT_EQ(TLZH::LZHUnpack(-7, stream), "");
}

TEST(WinConvertTest, StreamWhole_FalseExactlyWhenTheInputEndsBeforeTheDeclaredSize) {
    for (const int size : {1, 61, 5000, 20'000}) {
        SCOPED_TRACE(size);
        const std::string text = TextLikeBytes(size, 9);
        const std::string stream = TLZH::LZHPack(text);
        bool whole = false;
        EXPECT_EQ(TLZH::LZHUnpack(size, stream, whole), text);
        EXPECT_TRUE(whole);
        // Every cut loses bits the decoding takes, down to the last byte; the decoder still gives
        // the declared size, as the two-argument form does.
        for (const std::size_t kept : {std::size_t{0}, stream.size() / 2, stream.size() - 1}) {
            const std::string cut = stream.substr(0, kept);
            EXPECT_EQ(TLZH::LZHUnpack(size, cut, whole), TLZH::LZHUnpack(size, cut));
            EXPECT_FALSE(whole) << kept << " of " << stream.size() << " bytes";
        }
    }
    bool whole = false;
    EXPECT_EQ(TLZH::LZHUnpack(0, "", whole), "");
    EXPECT_TRUE(whole) << "nothing to decode takes no input";
}

TEST(WinConvertTest, ArbitraryStreams_DecodeLikeThePlainDecoder) {
    // Random streams make matches that start before the first output byte, in the initial
    // spaces and in the never-written last 60 ring positions, and that run past the declared end.
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        const std::string stream = RandomBytes(1 + seed % 97, seed);
        const auto size = static_cast<std::int32_t>(1 + (seed * 37) % 700);
        EXPECT_EQ(TLZH::LZHUnpack(size, stream), reference::Unpack(size, stream).substr(0, size))
            << "seed " << seed;
    }
}

TEST(WinConvertTest, SizesAboveTheLimit_AreRefused) {
    EXPECT_THROW(TLZH::LZHUnpack(TLZH::kMaxTextSize + 1, "abc"), ElzhException);
    EXPECT_NO_THROW(TLZH::LZHUnpack(1, "abc"));
}

TEST(WinConvertTest, SkinFile_StartsWithTheLittleEndianSize) {
    const std::string container(115119, 'q');
    const std::string file = PackSkinFile(container);
    EXPECT_EQ(file.substr(0, 4), std::string("\xAF\xC1\x01\x00", 4));
    EXPECT_EQ(TLZH::LZHUnpack(115119, std::string_view(file).substr(4)), container);
}

}  // namespace
}  // namespace vardo
