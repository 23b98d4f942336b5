#include "UserFolders.h"

#include <shlobj.h>
#include <windows.h>

#include "WideText.h"

namespace vardo::platform {

namespace {

// A known folder of the user, with '/' between its parts as the rest of the program writes them.
std::string KnownFolder(REFKNOWNFOLDERID id, const char* fallbackVariable) {
    wchar_t* path = nullptr;
    std::string folder;
    if (::SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path) == S_OK) folder = Utf8Text(path);
    ::CoTaskMemFree(path);
    if (folder.empty()) {
        const DWORD size = ::GetEnvironmentVariableW(WideText(fallbackVariable).c_str(), nullptr, 0);
        std::wstring value(size, L'\0');
        const DWORD length = ::GetEnvironmentVariableW(WideText(fallbackVariable).c_str(),
                                                       value.data(), size);
        value.resize(length);
        folder = Utf8Text(value);
    }
    for (char& c : folder)
        if (c == '\\') c = '/';
    return folder.empty() ? "C:/" : folder;
}

}  // namespace

std::string HomeFolder() {
    return KnownFolder(FOLDERID_Profile, "USERPROFILE");
}

// Settings, data and state of a program all belong to the user's local application data.
std::string ConfigFolder() {
    return KnownFolder(FOLDERID_LocalAppData, "LOCALAPPDATA");
}

std::string DataFolder() {
    return KnownFolder(FOLDERID_LocalAppData, "LOCALAPPDATA");
}

std::string StateFolder() {
    return KnownFolder(FOLDERID_LocalAppData, "LOCALAPPDATA");
}

std::string InstalledProgramFolder() {
    return DataFolder() + "/Vardo";
}

}  // namespace vardo::platform
