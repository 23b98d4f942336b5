// Writes the decompressed container of a skin file: the skin definition target reads containers
// as they are once decompressed, and the shipped skins make its best seeds.
//   skin_container FILE.skn OUT
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "WinConvert.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: skin_container FILE.skn OUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string file{std::istreambuf_iterator<char>(in), {}};
    std::int32_t declared = 0;
    if (file.size() < 4 || (std::memcpy(&declared, file.data(), 4), declared < 0) ||
        declared > vardo::TLZH::kMaxTextSize) {
        std::cerr << argv[1] << ": not a skin file\n";
        return 1;
    }
    std::ofstream(argv[2], std::ios::binary)
        << vardo::TLZH::LZHUnpack(declared, std::string_view(file).substr(4));
    return 0;
}
