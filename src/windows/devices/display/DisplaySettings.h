#ifndef PLOVIX_WINDOWS_DEVICES_DISPLAY_DISPLAYSETTINGS_H
#define PLOVIX_WINDOWS_DEVICES_DISPLAY_DISPLAYSETTINGS_H

#include <windows.h>

namespace windows {
namespace devices {
namespace display {

// Reading and changing the display mode; failures are thrown as
// DisplayException.
class DisplaySettings {
public:
    virtual ~DisplaySettings() = default;
    // Mode `modeNum` (ENUM_CURRENT_SETTINGS for the one in force) of the
    // device `deviceName`, or of the calling thread's display when null.
    virtual void getDisplaySetting(DEVMODEA* mode, DWORD modeNum, const char* deviceName) = 0;
    virtual void setDisplaySetting(DEVMODEA* mode, DWORD flags) = 0;
};

} // namespace display
} // namespace devices
} // namespace windows

#endif
