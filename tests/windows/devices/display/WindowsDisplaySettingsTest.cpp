#include "windows/devices/display/WindowsDisplaySettings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

using windows::devices::display::WindowsDisplaySettings;

// How refusals read is pinned where the user sees them, in the end-to-end
// tests.
TEST(WindowsDisplaySettingsTest, CurrentModeIsReadAndApplied) {
    WindowsDisplaySettings settings;
    DEVMODEA mode;
    std::memset(&mode, 0xAB, sizeof mode); // the size fields are the code's to set
    settings.getDisplaySetting(&mode, ENUM_CURRENT_SETTINGS, nullptr);
    EXPECT_EQ(static_cast<DWORD>(GetSystemMetrics(SM_CXSCREEN)), mode.dmPelsWidth);
    EXPECT_EQ(static_cast<DWORD>(GetSystemMetrics(SM_CYSCREEN)), mode.dmPelsHeight);
    EXPECT_NO_THROW(settings.setDisplaySetting(&mode, 0));
}

} // namespace
