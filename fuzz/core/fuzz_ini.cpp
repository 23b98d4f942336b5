// The INI reader and writer must accept any file content. For plain ASCII files, a value written
// with simple names must read back unchanged.
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "IniText.h"
#include "TextCodec.h"

namespace {

std::string SimpleName(FuzzedDataProvider& provider) {
    std::string name = provider.ConsumeRandomLengthString(8);
    std::erase_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
    return name.empty() ? "k" : name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::string section = SimpleName(provider);
    const std::string key = SimpleName(provider);
    const std::string value = SimpleName(provider);
    const std::string content = provider.ConsumeRemainingBytesAsString();

    vardo::IniFindValue(content, section, key);
    const std::string written = vardo::IniSetValue(content, section, key, value);
    const auto readBack = vardo::IniFindValue(written, section, key);
    if (vardo::IsAscii(content) && readBack != value) std::abort();
    return 0;
}
