#include "ProgramPlace.h"

#include <filesystem>

#include "SettingsStore.h"
#include "UserFolders.h"

namespace vardo::platform {
namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

// The settings file keeps the program file's name in whichever folder holds it.
ProgramPlace PlaceIn(const std::string& programFile, const std::string& folder) {
    const std::string name = std::filesystem::path(programFile).filename().string();
    return {programFile, folder, SettingsFilePath(folder + name), {folder + "Skins/"}};
}

}  // namespace

ProgramPlace PortablePlace(const std::string& programFile) {
    return PlaceIn(programFile,
                   WithSlash(std::filesystem::absolute(programFile).parent_path().string()));
}

ProgramPlace InstalledPlace(const std::string& programFile, const std::string& sharedSkinFolder) {
    ProgramPlace place = PlaceIn(programFile, DataFolder() + "/vardo/");
    place.skinFolders.push_back(WithSlash(sharedSkinFolder));
    return place;
}

}  // namespace vardo::platform
