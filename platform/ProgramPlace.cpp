#include "ProgramPlace.h"

#include <filesystem>

#include "SettingsStore.h"
#include "UserFolders.h"
#include "Utf8Path.h"

namespace vardo::platform {
namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

// The settings file keeps the program file's name in whichever folder holds it.
ProgramPlace PlaceIn(const std::string& programFile, const std::string& folder) {
    const std::string name = PathUtf8(Utf8Path(programFile).filename());
    return {programFile, folder, SettingsFilePath(folder + name), {folder + "Skins/"}};
}

}  // namespace

ProgramPlace PortablePlace(const std::string& programFile) {
    return PlaceIn(programFile,
                   WithSlash(PathUtf8(std::filesystem::absolute(Utf8Path(programFile)).parent_path())));
}

ProgramPlace InstalledPlace(const std::string& programFile, const std::string& sharedSkinFolder) {
    ProgramPlace place = PlaceIn(programFile, InstalledProgramFolder() + "/");
    place.skinFolders.push_back(WithSlash(sharedSkinFolder));
    return place;
}

ProgramPlace MarkedPlace(const std::string& programFile) {
    const std::filesystem::path folder =
        std::filesystem::absolute(Utf8Path(programFile)).parent_path();
    std::error_code error;
    if (!std::filesystem::exists(folder / kInstalledMarker, error)) return PortablePlace(programFile);
    return InstalledPlace(programFile, PathUtf8(folder / "Skins"));
}

}  // namespace vardo::platform
