#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vardo {

// Raised when the codec cannot do its work (its texts start with "LZH : ").
class ElzhException : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The LZHUF codec of skin files: LZSS over a 4096-byte ring buffer whose first 4036 positions start
// as spaces, with matches of 3 to 60 bytes, literal and match-length symbols coded with an
// adaptive Huffman tree (rebuilt when the root count reaches 0x8000), and match positions with a
// fixed prefix code for their upper 6 bits followed by the lower 6 bits verbatim. Bits run most
// significant first.
//
// The decoder's contract: whatever the input, it never reads outside it, never writes outside
// its output, and allocates only the declared size (at most kMaxTextSize). Input that ends early
// reads as zero bytes, so a truncated stream still decodes to the declared size.
class TLZH {
  public:
    // The largest decoded size accepted: skins are a few hundred kilobytes.
    static constexpr std::int32_t kMaxTextSize = 64 * 1024 * 1024;

    // Decodes the bit stream into exactly textSize bytes (none when textSize <= 0). A match that
    // would run past textSize is cut there. Throws ElzhException when textSize > kMaxTextSize.
    static std::string LZHUnpack(std::int32_t textSize, std::string_view stream);
    // The same, and streamWhole tells whether the stream held every bit the decoding took (false
    // when it ended early and zero bytes stood in for the rest).
    static std::string LZHUnpack(std::int32_t textSize, std::string_view stream, bool& streamWhole);

    // Encodes text into a bit stream that LZHUnpack(text.size(), ...) turns back into text,
    // padded with zero bits to a whole byte. Throws ElzhException when text is longer than
    // kMaxTextSize.
    static std::string LZHPack(std::string_view text);
};

// A skin file: the decoded size as a signed 32-bit little-endian number, then the bit stream.
std::string PackSkinFile(std::string_view container);

}  // namespace vardo
