#include "acceptance/DeskSurvey.h"

#include <cstdio>
#include <stdexcept>

#include "picture/PictureLayout.h"
#include "platform/errorresources/SystemErrors.h"
#include "platform/handles/UniqueHandle.h"

namespace tools {
namespace acceptance {

namespace {

using picture::PictureLayout;

// RtlGetVersion tells the version as it is; GetVersionEx tells a program
// without a manifest that it runs on Windows 8.
std::string windowsVersion() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    using GetWineVersion = const char*(CDECL*)();
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    const auto getVersion = ntdll == nullptr ? nullptr
                                             : reinterpret_cast<GetVersion>(reinterpret_cast<void*>(
                                                   GetProcAddress(ntdll, "RtlGetVersion")));
    char text[160] = "unknown";
    if (getVersion != nullptr && getVersion(&version) == 0) {
        std::snprintf(text, sizeof text, "Windows %lu.%lu build %lu", version.dwMajorVersion,
                      version.dwMinorVersion, version.dwBuildNumber);
    }
    std::string windows = text;
    const auto wineVersion =
        ntdll == nullptr ? nullptr
                         : reinterpret_cast<GetWineVersion>(
                               reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")));
    if (wineVersion != nullptr) {
        windows += std::string(" (Wine ") + wineVersion() + ")";
    }
    return windows;
}

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM found) {
    MONITORINFOEXA info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info) != 0) {
        reinterpret_cast<std::vector<DeskSurvey::Monitor>*>(found)->push_back(
            {info.szDevice, info.rcMonitor, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    }
    return TRUE;
}

void releaseScreen(HDC screen) {
    ReleaseDC(nullptr, screen);
}

bool is64BitWindows() {
#ifdef _WIN64
    return true;
#else
    BOOL underWow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &underWow64) != 0 && underWow64 != 0;
#endif
}

} // namespace

DeskSurvey::DeskSurvey()
    : _windows(windowsVersion())
    , _is64Bit(is64BitWindows()) {
    if (EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&_monitors)) ==
            0 ||
        _monitors.empty()) {
        platform::errorresources::SystemErrors::throwLastError<std::runtime_error>(
            [](const std::string& reason) {
                return "Could not list the monitors using 'EnumDisplayMonitors'.\n" + reason;
            });
    }
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    for (DWORD index = 0; EnumDisplaySettingsA(nullptr, index, &mode) != 0; ++index) {
        _offersPictureSize = _offersPictureSize || (mode.dmPelsWidth == PictureLayout::WIDTH &&
                                                    mode.dmPelsHeight == PictureLayout::HEIGHT);
    }
    _atPictureSize = GetSystemMetrics(SM_CXSCREEN) == PictureLayout::WIDTH &&
                     GetSystemMetrics(SM_CYSCREEN) == PictureLayout::HEIGHT;
    const platform::handles::UniqueHandle<HDC, &releaseScreen> screen(GetDC(nullptr));
    if (screen) {
        _scalePercent =
            MulDiv(GetDeviceCaps(screen.get(), LOGPIXELSX), 100, USER_DEFAULT_SCREEN_DPI);
    }
}

std::vector<std::string> DeskSurvey::lines() const {
    std::vector<std::string> lines = {"Windows: " + _windows +
                                      (_is64Bit ? ", 64-bit" : ", 32-bit")};
    for (const Monitor& monitor : _monitors) {
        char line[200];
        std::snprintf(line, sizeof line, "Monitor: %s, %ldx%ld at %ld,%ld%s",
                      monitor.device.c_str(), monitor.area.right - monitor.area.left,
                      monitor.area.bottom - monitor.area.top, monitor.area.left, monitor.area.top,
                      monitor.primary ? ", primary" : "");
        lines.push_back(line);
    }
    char line[120];
    std::snprintf(line, sizeof line, "Primary monitor: %s %dx%d%s",
                  _offersPictureSize ? "offers" : "does not offer", PictureLayout::WIDTH,
                  PictureLayout::HEIGHT, _atPictureSize ? ", which it shows now" : "");
    lines.push_back(line);
    lines.push_back("Scale: " + std::to_string(_scalePercent) + " %");
    return lines;
}

} // namespace acceptance
} // namespace tools
