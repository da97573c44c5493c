#ifndef PLOVIX_WINDOWS_DEVICES_DISPLAY_WINDOWSDISPLAYSETTINGS_H
#define PLOVIX_WINDOWS_DEVICES_DISPLAY_WINDOWSDISPLAYSETTINGS_H

#include "windows/devices/display/DisplaySettings.h"

namespace windows {
namespace devices {
namespace display {

// EnumDisplaySettingsA, ChangeDisplaySettingsA and EnumDisplayMonitors.
class WindowsDisplaySettings : public DisplaySettings {
public:
    void getDisplaySetting(DEVMODEA* mode, DWORD modeNum, const char* deviceName) override;
    // A null mode with flags 0 returns to the mode in the user's settings.
    void setDisplaySetting(DEVMODEA* mode, DWORD flags) override;
    std::vector<RECT> getMonitorAreas() override;

    // "DISP_CHANGE_BADMODE" and the like for a ChangeDisplaySettings result.
    static const char* resultName(LONG result);
};

} // namespace display
} // namespace devices
} // namespace windows

#endif
