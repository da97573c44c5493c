#include "windows/devices/display/WindowsDisplaySettings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
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

TEST(WindowsDisplaySettingsTest, CurrentModeIsReadAndAppliedAndRefusalsSayWhy) {
    WindowsDisplaySettings settings;
    DEVMODEA mode;
    std::memset(&mode, 0xAB, sizeof mode); // the size fields are the code's to set
    settings.getDisplaySetting(&mode, ENUM_CURRENT_SETTINGS, nullptr);
    EXPECT_EQ(static_cast<DWORD>(GetSystemMetrics(SM_CXSCREEN)), mode.dmPelsWidth);
    EXPECT_EQ(static_cast<DWORD>(GetSystemMetrics(SM_CYSCREEN)), mode.dmPelsHeight);
    EXPECT_NO_THROW(settings.setDisplaySetting(&mode, 0));

    DEVMODEA impossible = mode;
    impossible.dmPelsWidth = 12345;
    impossible.dmPelsHeight = 17;
    const struct {
        std::function<void()> action, repeat;
        std::string expected;
    } refusals[] = {
        {[&] { settings.getDisplaySetting(&mode, 100000, nullptr); },
         [&] { EnumDisplaySettingsA(nullptr, 100000, &mode); },
         "Could not get the display setting using 'EnumDisplaySettings'.\nModeNum: "
         "100000\nDeviceName: \n"},
        {[&] { settings.setDisplaySetting(&impossible, CDS_FULLSCREEN); },
         [&] { ChangeDisplaySettingsA(&impossible, CDS_FULLSCREEN); },
         "Could not set the display setting using 'ChangeDisplaySettings'.\nFlags: 4\n"
         "Result: -2 (DISP_CHANGE_BADMODE)\n"},
    };
    for (const auto& refusal : refusals) {
        const auto refused = failureOf(refusal.action, refusal.repeat);
        EXPECT_EQ(refusal.expected + SystemErrors::map(refused.second), refused.first);
    }
}

} // namespace
