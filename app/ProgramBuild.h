#pragma once

#include <string_view>

#include "ProgramPlace.h"

namespace vardo {

// What this build of the program is, from the options it was built with.

// The project's version, as `vardo --version` prints it.
std::string_view ProgramVersion();

// Where the running program keeps its files: the installed place when it was built as the
// installed program (VARDO_INSTALLED, which the Linux package sets); on Windows, where one build
// serves the zip and the installer, the place the installer's marker file chooses; else the
// portable place.
platform::ProgramPlace ThisProgramPlace();

}  // namespace vardo
