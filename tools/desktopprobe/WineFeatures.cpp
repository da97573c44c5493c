#include "desktopprobe/WineFeatures.h"

#include <windows.h>

#include <cstdlib>

namespace tools {
namespace desktopprobe {

namespace {

// The first Wine version seen with each feature.
const int SHOWS_OTHER_PROCESSES_CHILDREN = 10;
const int RESTORES_MODES_OF_ENDED_PROCESSES = 10;

} // namespace

WineFeatures::WineFeatures()
    : _version()
    , _major(0) {
    // Wine's ntdll tells its version; Windows' has no such export.
    using GetVersion = const char*(CDECL*)();
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    const auto wineVersion =
        ntdll != nullptr ? reinterpret_cast<GetVersion>(
                               reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")))
                         : nullptr;
    if (wineVersion != nullptr) {
        _version = std::string("wine-") + wineVersion();
        _major = std::atoi(wineVersion());
    }
}

bool WineFeatures::showsOtherProcessesChildren() const {
    return _version.empty() || _major >= SHOWS_OTHER_PROCESSES_CHILDREN;
}

bool WineFeatures::restoresModesOfEndedProcesses() const {
    return _version.empty() || _major >= RESTORES_MODES_OF_ENDED_PROCESSES;
}

} // namespace desktopprobe
} // namespace tools
