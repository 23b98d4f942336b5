#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace vardo::test {

// The path of UTF-8 text (a std::string path is read in the ANSI code page on Windows).
inline std::filesystem::path Utf8FilePath(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// A fresh folder below the system's temporary folder, removed with everything in it at the end
// of the test. path() ends without a separator; Slash() gives it with one.
class TempFolder {
  public:
    TempFolder() {
        std::random_device random;
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const auto folder = std::filesystem::temp_directory_path() /
                                ("vardo-test-" + std::to_string(random()));
            std::error_code error;
            if (std::filesystem::create_directory(folder, error)) {
                const std::u8string text = folder.u8string();
                path_.assign(text.begin(), text.end());
            }
        }
        if (path_.empty()) throw std::runtime_error("no temporary folder could be made");
    }
    ~TempFolder() {
        std::error_code error;
        std::filesystem::permissions(Utf8FilePath(path_), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(Utf8FilePath(path_), error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string Slash() const { return path_ + "/"; }
    std::string File(std::string_view name) const { return Slash() + std::string(name); }

  private:
    std::string path_;
};

inline void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(Utf8FilePath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(Utf8FilePath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace vardo::test
