#include "ProgramBuild.h"

#include "SystemServices.h"

namespace vardo {

std::string_view ProgramVersion() {
    return VARDO_VERSION;
}

platform::ProgramPlace ThisProgramPlace() {
#if VARDO_INSTALLED
    return platform::InstalledPlace(platform::ProgramFilePath(), VARDO_SHARED_SKINS);
#elif VARDO_INSTALLED_BY_MARKER
    return platform::MarkedPlace(platform::ProgramFilePath());
#else
    return platform::PortablePlace(platform::ProgramFilePath());
#endif
}

}  // namespace vardo
