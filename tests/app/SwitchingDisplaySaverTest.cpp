#include "app/PlovixsaverImpl.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "app/InputExitPolicy.h"
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
    int widthAtReport = 0;
    reporter.onReport = [&] { widthAtReport = GetSystemMetrics(SM_CXSCREEN); };
    const HINSTANCE noPictures = GetModuleHandleA("kernel32.dll");
    app::PlovixsaverImpl saver{&reporter,     &display,          &policy,
                               "Plovix test", "PlovixSwitching", noPictures};
    saver.runScreensaver();
    ASSERT_EQ(1u, reporter.errors.size());
    EXPECT_EQ(0u, reporter.errors[0].find("Exception caught in: PlovixsaverImpl::_run.\nCould not "
                                          "load bitmap using 'LoadImage'.\n"));
    EXPECT_EQ(1024, widthAtReport);
}

} // namespace
