#ifndef PLOVIX_TESTS_SUPPORT_MONITORS_H
#define PLOVIX_TESTS_SUPPORT_MONITORS_H

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/Waiting.h"
#include "windows/devices/display/WindowsDisplaySettings.h"

namespace support {

// The size of the primary monitor's mode stored as the user's, which every
// run puts back: not the screen's now, which may still be another process's
// switch. Empty when it cannot be read.
inline SIZE userModeSize() {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    if (EnumDisplaySettingsA(nullptr, ENUM_REGISTRY_SETTINGS, &mode) == 0) {
        return SIZE{0, 0};
    }
    return SIZE{static_cast<LONG>(mode.dmPelsWidth), static_cast<LONG>(mode.dmPelsHeight)};
}

// The monitors as this process sees them, the primary first.
inline std::vector<RECT> monitors() {
    std::vector<RECT> found = windows::devices::display::WindowsDisplaySettings().getMonitorAreas();
    std::stable_partition(found.begin(), found.end(),
                          [](const RECT& area) { return area.left == 0 && area.top == 0; });
    return found;
}

// Waits until this process sees that layout: another process's change need
// not be seen here at once.
inline bool layoutBecomes(const std::vector<RECT>& expected) {
    return waitUntil([&] {
        const std::vector<RECT> now = monitors();
        return std::equal(now.begin(), now.end(), expected.begin(), expected.end(),
                          [](const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; });
    });
}

// A monitor switched off as the display settings do it: its device detached
// in the stored settings, which are then applied, until the object goes,
// also when an assertion ends the test; then attached again with the mode
// and place stored for it before. Applying the stored settings puts every
// monitor in its stored mode, so a full-screen mode that a running program
// set may go with it.
class SwitchedOffMonitor {
public:
    // Throws std::runtime_error, with the monitor left on, when it cannot be
    // switched off or this process still sees it.
    explicit SwitchedOffMonitor(const RECT& monitor)
        : _device()
        , _stored()
        , _shown(monitors().size()) {
        MONITORINFOEXA info = {};
        info.cbSize = sizeof info;
        const HMONITOR handle = MonitorFromRect(&monitor, MONITOR_DEFAULTTONULL);
        _stored.dmSize = sizeof _stored;
        if (handle == nullptr || GetMonitorInfoA(handle, &info) == 0 ||
            EnumDisplaySettingsA(info.szDevice, ENUM_REGISTRY_SETTINGS, &_stored) == 0) {
            throw std::runtime_error(
                "Could not read the device and stored mode of the monitor at " +
                std::to_string(monitor.left) + "," + std::to_string(monitor.top));
        }
        _device = info.szDevice;
        DEVMODEA off = {};
        off.dmSize = sizeof off;
        off.dmFields = DM_POSITION | DM_PELSWIDTH | DM_PELSHEIGHT;
        std::string failure = _apply(off);
        if (failure.empty() && !waitUntil([&] { return monitors().size() + 1 == _shown; })) {
            failure = _device + " was switched off, but this process still sees it";
        }
        if (!failure.empty()) {
            throw std::runtime_error(failure + "\n" + _apply(_stored));
        }
    }
    ~SwitchedOffMonitor() {
        const std::string failure = _apply(_stored);
        if (!failure.empty()) {
            ADD_FAILURE() << failure;
        } else if (!waitUntil([&] { return monitors().size() == _shown; })) {
            ADD_FAILURE() << _device << " was switched on, but this process does not see it";
        }
    }
    SwitchedOffMonitor(const SwitchedOffMonitor&) = delete;
    SwitchedOffMonitor& operator=(const SwitchedOffMonitor&) = delete;

private:
    // Stores `mode` for the device and applies the stored settings of all;
    // says what failed, or nothing.
    std::string _apply(DEVMODEA mode) const {
        LONG result = ChangeDisplaySettingsExA(_device.c_str(), &mode, nullptr,
                                               CDS_UPDATEREGISTRY | CDS_NORESET, nullptr);
        if (result == DISP_CHANGE_SUCCESSFUL) {
            result = ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr);
        }
        return result == DISP_CHANGE_SUCCESSFUL
                   ? std::string()
                   : "Could not switch " + _device + " to " + std::to_string(mode.dmPelsWidth) +
                         "x" + std::to_string(mode.dmPelsHeight) + ": " + std::to_string(result);
    }

    std::string _device;
    DEVMODEA _stored;
    std::size_t _shown;
};

} // namespace support

#endif
