#include "windows/devices/display/WindowsDisplaySettings.h"

#include <cstdio>
#include <string>

#include "platform/errorresources/SystemErrors.h"
#include "util/Helpers.h"
#include "windows/devices/display/DisplayException.h"

namespace windows {
namespace devices {
namespace display {

using platform::errorresources::SystemErrors;

namespace {

BOOL CALLBACK addMonitorArea(HMONITOR, HDC, LPRECT area, LPARAM areas) {
    reinterpret_cast<std::vector<RECT>*>(areas)->push_back(*area);
    return TRUE;
}

} // namespace

void WindowsDisplaySettings::getDisplaySetting(DEVMODEA* mode, DWORD modeNum,
                                               const char* deviceName) {
    mode->dmSize = sizeof(DEVMODEA);
    mode->dmDriverExtra = 0;
    if (EnumDisplaySettingsA(deviceName, modeNum, mode) != 0) {
        return;
    }
    SystemErrors::throwLastError<DisplayException>([&](const std::string& reason) {
        return "Could not get the display setting using 'EnumDisplaySettings'.\nModeNum: " +
               util::numberToString(static_cast<unsigned int>(modeNum)) +
               "\nDeviceName: " + (deviceName != nullptr ? deviceName : "") + "\n" + reason;
    });
}

void WindowsDisplaySettings::setDisplaySetting(DEVMODEA* mode, DWORD flags) {
    const LONG result = ChangeDisplaySettingsA(mode, flags);
    if (result == DISP_CHANGE_SUCCESSFUL) {
        return;
    }
    // The system-error line says little for this call; its result says why.
    SystemErrors::throwLastError<DisplayException>(
        [&](const std::string& reason) {
            char resultLine[64];
            std::snprintf(resultLine, sizeof resultLine, "Result: %ld (%s)\n",
                          static_cast<long>(result), resultName(result));
            return "Could not set the display setting using 'ChangeDisplaySettings'.\nFlags: " +
                   util::numberToString(static_cast<unsigned int>(flags)) + "\n" + resultLine +
                   reason;
        },
        result);
}

std::vector<RECT> WindowsDisplaySettings::getMonitorAreas() {
    std::vector<RECT> areas;
    if (EnumDisplayMonitors(nullptr, nullptr, addMonitorArea, reinterpret_cast<LPARAM>(&areas)) !=
        0) {
        return areas;
    }
    SystemErrors::throwLastError<DisplayException>([](const std::string& reason) {
        return "Could not list the monitors using 'EnumDisplayMonitors'.\n" + reason;
    });
}

const char* WindowsDisplaySettings::resultName(LONG result) {
    switch (result) {
    case DISP_CHANGE_SUCCESSFUL:
        return "DISP_CHANGE_SUCCESSFUL";
    case DISP_CHANGE_RESTART:
        return "DISP_CHANGE_RESTART";
    case DISP_CHANGE_FAILED:
        return "DISP_CHANGE_FAILED";
    case DISP_CHANGE_BADMODE:
        return "DISP_CHANGE_BADMODE";
    case DISP_CHANGE_NOTUPDATED:
        return "DISP_CHANGE_NOTUPDATED";
    case DISP_CHANGE_BADFLAGS:
        return "DISP_CHANGE_BADFLAGS";
    case DISP_CHANGE_BADPARAM:
        return "DISP_CHANGE_BADPARAM";
    case DISP_CHANGE_BADDUALVIEW:
        return "DISP_CHANGE_BADDUALVIEW";
    default:
        return "unknown";
    }
}

} // namespace display
} // namespace devices
} // namespace windows
