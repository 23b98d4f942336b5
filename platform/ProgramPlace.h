#pragma once

#include <string>
#include <vector>

namespace vardo::platform {

// Where the program keeps its files. A portable program, the executable in a folder the operator
// owns, keeps everything in that folder. An installed program's folder belongs to the system
// (root must not litter /usr/bin either), so it keeps the operator's files in
// $XDG_DATA_HOME/vardo/ (default ~/.local/share/vardo/) and finds the skins it ships in a folder
// of the system's. Every folder ends in '/'.
struct ProgramPlace {
    std::string programFile;               // the command the auto-start entry runs
    std::string folder;                    // the program folder: Data/, History/, the settings file
    std::string settingsFile;              // in folder, named after the program file (VARDO.INI)
    std::vector<std::string> skinFolders;  // searched in this order: the operator's own first
};

// The portable place of the program file programFile.
ProgramPlace PortablePlace(const std::string& programFile);

// The installed place: the program folder under the user's data folder, its Skins/ first, then
// sharedSkinFolder.
ProgramPlace InstalledPlace(const std::string& programFile, const std::string& sharedSkinFolder);

// For a build that serves both (on Windows the zip and the installer): the installed place, with
// the shipped skins in Skins/ beside the program file, when the installer's marker file lies beside
// it; the portable place otherwise.
inline constexpr char kInstalledMarker[] = "vardo.installed";
ProgramPlace MarkedPlace(const std::string& programFile);

}  // namespace vardo::platform
