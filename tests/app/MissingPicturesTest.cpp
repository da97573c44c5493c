#include <windows.h>

#include <gtest/gtest.h>

#include "app/InputExitPolicy.h"
#include "app/PlovixsaverImpl.h"
#include "app/resources/ResourceIds.h"
#include "support/FakeDisplaySettings.h"
#include "support/RecordingReporter.h"
#include "support/TestWindow.h"

namespace {

TEST(MissingPicturesTest, FullScreenRunPutsTheScreenBackBeforeItReports) {
    // A system module, which holds none of the saver's pictures.
    const HINSTANCE noPictures = GetModuleHandleA("kernel32.dll");
    ASSERT_EQ(nullptr, LoadImageA(noPictures, MAKEINTRESOURCEA(PLOVIX_BITMAP_PICTURE), IMAGE_BITMAP,
                                  0, 0, 0));
    support::RecordingReporter reporter;
    support::FakeDisplaySettings display;
    app::InputExitPolicy policy;
    const std::string className = support::uniqueClassName();
    const HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    SetCursor(arrow);
    bool restored = false;
    HCURSOR cursor = nullptr;
    bool windowGone = false;
    reporter.onReport = [&] {
        restored = display.restored();
        cursor = GetCursor();
        windowGone = FindWindowA(className.c_str(), nullptr) == nullptr;
    };
    {
        app::PlovixsaverImpl saver(&reporter, &display, &policy, "Plovix test", className,
                                   noPictures);
        saver.runScreensaver();
    }
    ASSERT_EQ(1u, reporter.errors.size());
    EXPECT_EQ(0u, reporter.errors[0].find("Exception caught in: PlovixsaverImpl::_run.\nCould not "
                                          "load bitmap using 'LoadImage'.\n"));
    EXPECT_TRUE(restored);
    EXPECT_EQ(arrow, cursor);
    EXPECT_TRUE(windowGone);
    EXPECT_EQ(3u, display.calls.size());
}

} // namespace
