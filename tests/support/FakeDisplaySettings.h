#ifndef PLOVIX_TESTS_SUPPORT_FAKEDISPLAYSETTINGS_H
#define PLOVIX_TESTS_SUPPORT_FAKEDISPLAYSETTINGS_H

#include <windows.h>

#include <string>
#include <vector>

#include "windows/devices/display/DisplayException.h"
#include "windows/devices/display/DisplaySettings.h"

namespace support {

// Display settings that change nothing: they answer the screen's real size at
// 144 Hz, record each call as "get <mode>", "set <width>x<height> <flags>"
// (with " at <rate> Hz" when the rate is asked for) or "set null <flags>",
// and refuse what they are told to, as a display would. Their monitors are
// the ones a test lists, the real screen alone unless told.
class FakeDisplaySettings : public windows::devices::display::DisplaySettings {
public:
    void getDisplaySetting(DEVMODEA* mode, DWORD modeNum, const char* deviceName) override {
        calls.push_back("get " + std::to_string(modeNum) + (deviceName ? deviceName : ""));
        *mode = DEVMODEA{};
        mode->dmSize = sizeof(DEVMODEA);
        mode->dmPelsWidth = static_cast<DWORD>(GetSystemMetrics(SM_CXSCREEN));
        mode->dmPelsHeight = static_cast<DWORD>(GetSystemMetrics(SM_CYSCREEN));
        mode->dmBitsPerPel = 24;
        mode->dmDisplayFrequency = 144;
        mode->dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL | DM_DISPLAYFREQUENCY;
    }
    void setDisplaySetting(DEVMODEA* mode, DWORD flags) override {
        const bool rate = mode != nullptr && (mode->dmFields & DM_DISPLAYFREQUENCY) != 0;
        calls.push_back(
            mode == nullptr
                ? "set null " + std::to_string(flags)
                : "set " + std::to_string(mode->dmPelsWidth) + "x" +
                      std::to_string(mode->dmPelsHeight) + " " + std::to_string(flags) +
                      (rate ? " at " + std::to_string(mode->dmDisplayFrequency) + " Hz" : "") +
                      (mode->dmBitsPerPel == 24 ? "" : " depth changed"));
        _restoredLast = flags == 0;
        const bool refused = flags == 0 ? refuseRestore : rate && refuseRate;
        if (refused) {
            throw windows::devices::display::DisplayException(
                "Could not set the display setting using 'ChangeDisplaySettings'.\nFlags: " +
                    std::to_string(flags) + "\nrefused by the test",
                flags == 0 ? DISP_CHANGE_FAILED : DISP_CHANGE_BADMODE);
        }
    }

    std::vector<RECT> getMonitorAreas() override {
        if (refuseMonitors) {
            throw windows::devices::display::DisplayException(
                "Could not list the monitors using 'EnumDisplayMonitors'.\nrefused by the test");
        }
        if (monitors.empty()) {
            return {RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}};
        }
        return monitors;
    }

    // Whether the last call asked for the user's mode back (flags 0).
    bool restored() const { return _restoredLast; }

    std::vector<std::string> calls;
    bool refuseRate = false; // any switch that names a refresh rate
    bool refuseRestore = false;
    std::vector<RECT> monitors;
    bool refuseMonitors = false;

private:
    bool _restoredLast = false;
};

} // namespace support

#endif
