#pragma once

#include <string>
#include <vector>

namespace vardo {

// The command-line arguments after the program's name, as UTF-8 text. On Windows they are read
// as the system passed them (wide), since argv holds them in the ANSI code page, which mangles
// every name outside it.
std::vector<std::string> CommandArguments(int argc, char** argv);

}  // namespace vardo
