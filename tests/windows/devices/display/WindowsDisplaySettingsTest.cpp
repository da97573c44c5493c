#include "windows/devices/display/WindowsDisplaySettings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "platform/errorresources/SystemErrors.h"
#include "windows/devices/display/DisplayException.h"

namespace {

using platform::errorresources::SystemErrors;
using windows::devices::display::DisplayException;
using windows::devices::display::WindowsDisplaySettings;

// The message of the DisplayException `action` throws, with the last error
// code that `repeat`, the same failing call made directly from the same
// starting point, leaves behind: the code does not survive the unwinding.
template <typename Action, typename Repeat>
std::pair<std::string, int> failureOf(Action action, Repeat repeat) {
    std::string message;
    SetLastError(0);
    try {
        action();
    } catch (const DisplayException& e) {
        message = e.getMessage();
    }
    SetLastError(0);
    repeat();
    return {message, static_cast<int>(GetLastError())};
}

TEST(WindowsDisplaySettingsTest, CurrentModeReadsBackTheScreen) {
    WindowsDisplaySettings settings;
    DEVMODEA mode;
    std::memset(&mode, 0xAB, sizeof mode);
    settings.getDisplaySetting(&mode, ENUM_CURRENT_SETTINGS, nullptr);
    EXPECT_EQ(static_cast<DWORD>(GetSystemMetrics(SM_CXSCREEN)), mode.dmPelsWidth);
    EXPECT_EQ(static_cast<DWORD>(GetSystemMetrics(SM_CYSCREEN)), mode.dmPelsHeight);

    // Applying the mode in force is accepted and leaves the record alone.
    const DEVMODEA before = mode;
    settings.setDisplaySetting(&mode, 0);
    EXPECT_EQ(0, std::memcmp(&before, &mode, sizeof mode));
}

TEST(WindowsDisplaySettingsTest, RefusedQueryNamesModeAndDevice) {
    WindowsDisplaySettings settings;
    DEVMODEA mode = {};
    for (const auto& query : {std::make_pair(7u, "DISPLAY2"), std::make_pair(100000u, "")}) {
        const char* device = *query.second != '\0' ? query.second : nullptr;
        const auto refused =
            failureOf([&] { settings.getDisplaySetting(&mode, query.first, device); },
                      [&] { EnumDisplaySettingsA(device, query.first, &mode); });
        EXPECT_EQ("Could not get the display setting using 'EnumDisplaySettings'.\nModeNum: " +
                      std::to_string(query.first) + "\nDeviceName: " + query.second + "\n" +
                      SystemErrors::map(refused.second),
                  refused.first);
    }
}

TEST(WindowsDisplaySettingsTest, RefusedChangeNamesItsFlags) {
    WindowsDisplaySettings settings;
    DEVMODEA mode = {};
    settings.getDisplaySetting(&mode, ENUM_CURRENT_SETTINGS, nullptr);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    mode.dmPelsWidth = 12345;
    mode.dmPelsHeight = 17;
    for (const DWORD flags : {static_cast<DWORD>(CDS_FULLSCREEN), static_cast<DWORD>(0)}) {
        const auto refused = failureOf([&] { settings.setDisplaySetting(&mode, flags); },
                                       [&] { ChangeDisplaySettingsA(&mode, flags); });
        EXPECT_EQ("Could not set the display setting using 'ChangeDisplaySettings'.\nFlags: " +
                      std::to_string(flags) + "\n" + SystemErrors::map(refused.second),
                  refused.first);
    }
    EXPECT_EQ(width, GetSystemMetrics(SM_CXSCREEN));
}

} // namespace
