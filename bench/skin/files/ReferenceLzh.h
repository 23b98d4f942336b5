#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vardo::reference {

// The skin decoder written plainly, bit at a time through 1-byte read and write procedures and a
// 16-bit bit buffer, as the format describes it: the baseline the fast decoder is measured
// against, and a second opinion for the fuzzer. Only for bounded, trusted sizes.

// Delivers up to count bytes into buffer and returns how many it delivered.
using ReadProcedure = std::function<int(std::uint8_t* buffer, int count)>;
// Takes count bytes.
using WriteProcedure = std::function<void(const std::uint8_t* buffer, int count)>;

void LZHUnpack(std::int32_t textSize, const WriteProcedure& write, const ReadProcedure& read);

// LZHUnpack from a byte string into a byte string, through the procedures above. The last match
// may run past textSize, as the plain loop writes it whole.
std::string Unpack(std::int32_t textSize, std::string_view stream);

}  // namespace vardo::reference
