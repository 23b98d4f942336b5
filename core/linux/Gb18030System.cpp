#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "Gb18030System.h"

namespace vardo {

namespace {

class Iconv {
  public:
    Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Iconv() {
        if (valid()) iconv_close(handle_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts input made of units of unitSize bytes; a unit that cannot be converted is skipped.
    // Calls converted(unitIndex, outputBytes) for each unit that was, in order.
    template <typename Converted>
    void ConvertUnits(const std::string& input, size_t unitSize, Converted&& converted) {
        std::vector<char> output(input.size() * 4 + 16);
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        while (inLeft > 0) {
            char* unitStart = in;
            char* out = output.data();
            size_t outLeft = output.size();
            const size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
            const size_t firstUnit = static_cast<size_t>(unitStart - input.data()) / unitSize;
            converted(firstUnit, std::string_view(output.data(), out - output.data()));
            if (result != static_cast<size_t>(-1)) break;
            if (errno == E2BIG) continue;
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
            in += unitSize;
            inLeft -= std::min(inLeft, unitSize);
        }
    }

  private:
    iconv_t handle_;
};

}  // namespace

std::vector<char32_t> SystemDecodeGb18030Pairs(const std::string& pairs) {
    std::vector<char32_t> decoded(pairs.size() / 2, kNoGb18030Character);
    Iconv decoder("UTF-32LE", "GB18030");
    if (!decoder.valid()) return decoded;
    decoder.ConvertUnits(pairs, 2, [&decoded](size_t unit, std::string_view output) {
        for (size_t k = 0; k + 4 <= output.size() && unit < decoded.size(); k += 4, ++unit) {
            decoded[unit] = static_cast<unsigned char>(output[k]) |
                            static_cast<unsigned char>(output[k + 1]) << 8 |
                            static_cast<unsigned char>(output[k + 2]) << 16 |
                            static_cast<char32_t>(static_cast<unsigned char>(output[k + 3])) << 24;
        }
    });
    return decoded;
}

void SystemEncodeGb18030Bmp(const std::function<void(char32_t, std::string_view)>& found) {
    Iconv encoder("GB18030", "UTF-32LE");
    if (!encoder.valid()) return;
    std::string codePoints;
    for (char32_t c = 0; c < 0x10000; ++c) {
        const char32_t unit = c >= 0xD800 && c <= 0xDFFF ? 0xFFFD : c;  // no lone surrogates
        for (int shift = 0; shift < 32; shift += 8) codePoints += static_cast<char>(unit >> shift);
    }
    encoder.ConvertUnits(codePoints, 4, [&found](size_t unit, std::string_view output) {
        const auto byte = [&output](size_t i) { return static_cast<unsigned char>(output[i]); };
        for (size_t k = 0; k < output.size(); ++unit) {
            // One byte below 0x80; four when the second is a digit; two otherwise.
            size_t length = 1;
            if (byte(k) >= 0x80 && k + 1 < output.size())
                length = byte(k + 1) >= 0x30 && byte(k + 1) <= 0x39 ? 4 : 2;
            if (k + length > output.size()) break;
            if (unit < 0xD800 || unit > 0xDFFF)
                found(static_cast<char32_t>(unit), output.substr(k, length));
            k += length;
        }
    });
}

}  // namespace vardo
