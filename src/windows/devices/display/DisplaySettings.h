#ifndef PLOVIX_WINDOWS_DEVICES_DISPLAY_DISPLAYSETTINGS_H
#define PLOVIX_WINDOWS_DEVICES_DISPLAY_DISPLAYSETTINGS_H

#include <windows.h>

#include <vector>

namespace windows {
namespace devices {
namespace display {

// Reading and changing the display mode and listing the monitors; failures
// are thrown as DisplayException.
class DisplaySettings {
public:
    virtual ~DisplaySettings() = default;
    // Mode `modeNum` (ENUM_CURRENT_SETTINGS for the one in force) of the
    // device `deviceName`, or of the calling thread's display when null.
    virtual void getDisplaySetting(DEVMODEA* mode, DWORD modeNum, const char* deviceName) = 0;
    virtual void setDisplaySetting(DEVMODEA* mode, DWORD flags) = 0;
    // The area of each monitor of the desktop, in desktop coordinates (the
    // primary monitor's top left corner is 0,0), as the calling process
    // sees the layout now.
    virtual std::vector<RECT> getMonitorAreas() = 0;
};

} // namespace display
} // namespace devices
} // namespace windows

#endif
