#pragma once

#include <string>

namespace vardo::platform {

// The user's folders by the XDG base-directory rules, without trailing '/'. A variable that is
// unset, empty or relative (invalid by those rules) gives the default under the home folder.
std::string HomeFolder();    // $HOME, else the password entry's folder, else "/"
std::string ConfigFolder();  // $XDG_CONFIG_HOME, else ~/.config
std::string DataFolder();    // $XDG_DATA_HOME, else ~/.local/share
std::string StateFolder();   // $XDG_STATE_HOME, else ~/.local/state

// Where the installed program keeps the operator's files: DataFolder()/vardo on Linux,
// %LOCALAPPDATA%/Vardo on Windows.
std::string InstalledProgramFolder();

}  // namespace vardo::platform
