#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace vardo::test {

// Deterministic sample data for codec tests and benchmarks.

inline std::string RandomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

// Words of a small made-up vocabulary, the common ones far more often (as in prose), with
// punctuation and CR LF line ends.
inline std::string TextLikeBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<std::string> words;
    const std::string letters = "etaoinshrdlucmfwypvbgkjqxz";
    for (int i = 0; i < 600; ++i) {
        std::string word;
        const int length = 2 + static_cast<int>(random() % 8);
        for (int k = 0; k < length; ++k) {
            word += letters[std::min<std::size_t>(random() % 13 + random() % 14, 25)];
        }
        words.push_back(word);
    }
    std::string text;
    int lineLength = 0;
    while (text.size() < size) {
        // The cube of a uniform number favours the first words of the list.
        const double u = std::uniform_real_distribution<double>(0, 1)(random);
        text += words[static_cast<std::size_t>(u * u * u * words.size())];
        lineLength += 1;
        if (random() % 12 == 0) text += random() % 2 ? "," : ".";
        if (lineLength > 11) {
            text += "\r\n";
            lineLength = 0;
        } else {
            text += ' ';
        }
    }
    text.resize(size);
    return text;
}

// A 24-bit Windows bitmap file; pixel(x, y) gives 0xRRGGBB, rows are stored bottom-up.
template <typename Pixel>
std::string BitmapBytes(int width, int height, Pixel pixel) {
    const int rowSize = (width * 3 + 3) / 4 * 4;
    const std::uint32_t imageSize = static_cast<std::uint32_t>(rowSize * height);
    std::string file;
    const auto put = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) file.push_back(static_cast<char>(value >> (8 * i)));
    };
    file += "BM";
    put(54 + imageSize, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(static_cast<std::uint32_t>(width), 4);
    put(static_cast<std::uint32_t>(height), 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(imageSize, 4);
    put(2835, 4);
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) put(pixel(x, y), 3);
        for (int pad = width * 3; pad < rowSize; ++pad) file.push_back('\0');
    }
    return file;
}

inline std::string FlatBitmapBytes(int width, int height, std::uint32_t colour) {
    return BitmapBytes(width, height, [colour](int, int) { return colour; });
}

// Bands of gradient with a little noise, like the frames and buttons of a skin.
inline std::string SkinLikeBitmapBytes(int width, int height, std::uint32_t seed) {
    std::mt19937 random(seed);
    return BitmapBytes(width, height, [&](int x, int y) {
        const std::uint32_t shade = static_cast<std::uint32_t>(40 + (y * 180) / height);
        const std::uint32_t noise = random() % 16 == 0 ? random() % 8 : 0;
        const std::uint32_t magenta = (x / 16) % 5 == 4 ? 0xFF00FFu : 0;
        return magenta ? magenta : ((shade + noise) << 16 | shade << 8 | (shade / 2 + x % 7));
    });
}

}  // namespace vardo::test
