#include "windows/devices/display/WindowsDisplaySettings.h"

#include <sstream>

#include "platform/errorresources/SystemErrors.h"
#include "windows/devices/display/DisplayException.h"

namespace windows {
namespace devices {
namespace display {

using platform::errorresources::SystemErrors;

void WindowsDisplaySettings::getDisplaySetting(DEVMODEA* mode, DWORD modeNum,
                                               const char* deviceName) {
    mode->dmSize = sizeof(DEVMODEA);
    mode->dmDriverExtra = 0;
    if (EnumDisplaySettingsA(deviceName, modeNum, mode) != 0) {
        return;
    }
    const int error = static_cast<int>(GetLastError());
    std::ostringstream message;
    message << "Could not get the display setting using 'EnumDisplaySettings'.\nModeNum: "
            << modeNum << "\n"
            << "DeviceName: " << (deviceName != nullptr ? deviceName : "") << "\n"
            << SystemErrors::map(error);
    throw DisplayException(message.str());
}

void WindowsDisplaySettings::setDisplaySetting(DEVMODEA* mode, DWORD flags) {
    if (ChangeDisplaySettingsA(mode, flags) == DISP_CHANGE_SUCCESSFUL) {
        return;
    }
    const int error = static_cast<int>(GetLastError());
    std::ostringstream message;
    message << "Could not set the display setting using 'ChangeDisplaySettings'.\nFlags: " << flags
            << "\n"
            << SystemErrors::map(error);
    throw DisplayException(message.str());
}

} // namespace display
} // namespace devices
} // namespace windows
