#include "CommandArguments.h"

namespace vardo {

std::vector<std::string> CommandArguments(int argc, char** argv) {
    return {argv + 1, argv + argc};
}

}  // namespace vardo
