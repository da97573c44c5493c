#include "windows/devices/display/WindowsDisplaySettings.h"

#include <string>

#include "platform/errorresources/SystemErrors.h"
#include "util/Helpers.h"
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
    throw DisplayException("Could not get the display setting using 'EnumDisplaySettings'.\n"
                           "ModeNum: " +
                           util::numberToString(static_cast<unsigned int>(modeNum)) +
                           "\nDeviceName: " + (deviceName != nullptr ? deviceName : "") + "\n" +
                           SystemErrors::map(error));
}

void WindowsDisplaySettings::setDisplaySetting(DEVMODEA* mode, DWORD flags) {
    if (ChangeDisplaySettingsA(mode, flags) == DISP_CHANGE_SUCCESSFUL) {
        return;
    }
    const int error = static_cast<int>(GetLastError());
    throw DisplayException("Could not set the display setting using 'ChangeDisplaySettings'.\n"
                           "Flags: " +
                           util::numberToString(static_cast<unsigned int>(flags)) + "\n" +
                           SystemErrors::map(error));
}

} // namespace display
} // namespace devices
} // namespace windows
