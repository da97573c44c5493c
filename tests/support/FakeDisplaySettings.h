#ifndef PLOVIX_TESTS_SUPPORT_FAKEDISPLAYSETTINGS_H
#define PLOVIX_TESTS_SUPPORT_FAKEDISPLAYSETTINGS_H

#include <windows.h>

#include <string>
#include <vector>

#include "windows/devices/display/DisplayException.h"
#include "windows/devices/display/DisplaySettings.h"

namespace support {

// Display settings that change nothing: they answer the screen's real size,
// record each call as "get <mode>" or "set <width>x<height> <flags>", and
// refuse a restore when told to.
class FakeDisplaySettings : public windows::devices::display::DisplaySettings {
public:
    void getDisplaySetting(DEVMODEA* mode, DWORD modeNum, const char* deviceName) override {
        calls.push_back("get " + std::to_string(modeNum) + (deviceName ? deviceName : ""));
        *mode = DEVMODEA{};
        mode->dmSize = sizeof(DEVMODEA);
        mode->dmPelsWidth = static_cast<DWORD>(GetSystemMetrics(SM_CXSCREEN));
        mode->dmPelsHeight = static_cast<DWORD>(GetSystemMetrics(SM_CYSCREEN));
        mode->dmBitsPerPel = 24;
        mode->dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
    }

    void setDisplaySetting(DEVMODEA* mode, DWORD flags) override {
        calls.push_back("set " + std::to_string(mode->dmPelsWidth) + "x" +
                        std::to_string(mode->dmPelsHeight) + " " + std::to_string(flags) +
                        (mode->dmBitsPerPel == 24 ? "" : " depth changed"));
        _restoredLast = flags == 0;
        if (flags == 0 && refuseRestore) {
            throw windows::devices::display::DisplayException(
                "Could not set the display setting using 'ChangeDisplaySettings'.\nFlags: " +
                std::to_string(flags) + "\nrefused by the test");
        }
    }

    // Whether the last call asked for the saved mode back (flags 0).
    bool restored() const { return _restoredLast; }

    std::vector<std::string> calls;
    bool refuseRestore = false;

private:
    bool _restoredLast = false;
};

} // namespace support

#endif
