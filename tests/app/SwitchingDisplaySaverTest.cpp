#include "app/PlovixsaverImpl.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "app/InputExitPolicy.h"
#include "picture/PictureLayout.h"
#include "support/Monitors.h"
#include "support/RecordingReporter.h"
#include "windows/devices/display/WindowsDisplaySettings.h"

namespace {

// Runs on a display that really switches: the run fails once the screen is
// switched, for want of its pictures, and the user's mode is back when the
// failure is shown.
TEST(SwitchingDisplaySaverTest, FailedRunIsShownOnceTheDesktopModeIsBack) {
    support::RecordingReporter reporter;
    windows::devices::display::WindowsDisplaySettings display;
    app::InputExitPolicy policy;
    const SIZE user = support::userModeSize();
    ASSERT_TRUE(user.cx != picture::PictureLayout::WIDTH ||
                user.cy != picture::PictureLayout::HEIGHT)
        << "this test needs a display whose user's mode is not the picture's size";
    SIZE atReport = {};
    reporter.onReport = [&] {
        atReport = SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    };
    const HINSTANCE noPictures = GetModuleHandleA("kernel32.dll");
    app::PlovixsaverImpl saver{&reporter,     &display,          &policy,
                               "Plovix test", "PlovixSwitching", noPictures};
    saver.runScreensaver();
    ASSERT_EQ(1u, reporter.errors.size());
    EXPECT_EQ(0u, reporter.errors[0].find("Exception caught in: PlovixsaverImpl::_run.\nCould not "
                                          "load bitmap using 'LoadImage'.\n"));
    EXPECT_EQ(user.cx, atReport.cx);
    EXPECT_EQ(user.cy, atReport.cy);
}

} // namespace
