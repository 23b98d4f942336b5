#include "CommandArguments.h"

// shellapi.h needs the types of windows.h before it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "WideText.h"

namespace vardo {

std::vector<std::string> CommandArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide) return {argv + 1, argv + argc};
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(Utf8Text(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

}  // namespace vardo
