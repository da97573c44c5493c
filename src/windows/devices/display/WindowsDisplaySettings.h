#ifndef PLOVIX_WINDOWS_DEVICES_DISPLAY_WINDOWSDISPLAYSETTINGS_H
#define PLOVIX_WINDOWS_DEVICES_DISPLAY_WINDOWSDISPLAYSETTINGS_H

#include "windows/devices/display/DisplaySettings.h"

namespace windows {
namespace devices {
namespace display {

// EnumDisplaySettingsA and ChangeDisplaySettingsA.
class WindowsDisplaySettings : public DisplaySettings {
public:
    void getDisplaySetting(DEVMODEA* mode, DWORD modeNum, const char* deviceName) override;
    void setDisplaySetting(DEVMODEA* mode, DWORD flags) override;
};

} // namespace display
} // namespace devices
} // namespace windows

#endif
