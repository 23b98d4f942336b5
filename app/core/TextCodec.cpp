#include "TextCodec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace vardo {

namespace {

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// One conversion direction of iconv, closed with its owner.
class Converter {
  public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of input; each byte that cannot be converted is skipped and replaced by
    // replacement. The output starts at the size valid text needs in either direction (1.5 times
    // the input) and grows when malformed bytes or short characters need more.
    std::string Convert(std::string_view input, std::string_view replacement) {
        std::string output(input.size() + input.size() / 2 + 16, '\0');
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char* out = output.data();
        size_t outLeft = output.size();
        while (inLeft > 0) {
            if (iconv(handle_, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1)) break;
            if (errno == E2BIG) {
                const size_t used = static_cast<size_t>(out - output.data());
                output.resize(output.size() * 2);
                out = output.data() + used;
                outLeft = output.size() - used;
                continue;
            }
            // EILSEQ or EINVAL: one malformed or truncated byte.
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
            ++in;
            --inLeft;
            if (outLeft < replacement.size()) {
                const size_t used = static_cast<size_t>(out - output.data());
                output.resize(output.size() * 2 + replacement.size());
                out = output.data() + used;
                outLeft = output.size() - used;
            }
            out = std::copy(replacement.begin(), replacement.end(), out);
            outLeft -= replacement.size();
        }
        output.resize(static_cast<size_t>(out - output.data()));
        return output;
    }

  private:
    iconv_t handle_;
};

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    size_t i = 0;
    const size_t size = bytes.size();
    while (i < size) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;   // no overlong forms
            if (lead == 0xED) high = 0x9F;  // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
        } else {
            return false;
        }
        if (size - i < length) return false;
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        if (second < low || second > high) return false;
        for (size_t k = 2; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if (next < 0x80 || next > 0xBF) return false;
        }
        i += length;
    }
    return true;
}

std::string Gb18030ToUtf8(std::string_view bytes) {
    if (IsAscii(bytes)) return std::string(bytes);
    Converter converter("UTF-8", "GB18030");
    if (!converter.valid()) return std::string(bytes);
    return converter.Convert(bytes, kReplacementCharacter);
}

std::string Utf8ToGb18030(std::string_view text) {
    if (IsAscii(text)) return std::string(text);
    Converter converter("GB18030", "UTF-8");
    if (!converter.valid()) return std::string(text);
    return converter.Convert(text, "?");
}

std::string DecodeFileText(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    return Gb18030ToUtf8(bytes);
}

}  // namespace vardo
