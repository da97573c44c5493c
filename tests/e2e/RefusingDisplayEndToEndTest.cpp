// Runs on a display that refuses the picture's size.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/MessageBoxReporter.h"
#include "app/Program.h"
#include "desktopprobe/MessageBoxReader.h"
#include "picture/PictureLayout.h"
#include "support/SaverProcess.h"

namespace {

TEST(RefusingDisplayEndToEndTest, FullScreenRunReportsTheRefusalAndOpensNoWindow) {
    DEVMODEA pictureSize = {};
    pictureSize.dmSize = sizeof pictureSize;
    pictureSize.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    pictureSize.dmPelsWidth = picture::PictureLayout::WIDTH;
    pictureSize.dmPelsHeight = picture::PictureLayout::HEIGHT;
    ASSERT_NE(DISP_CHANGE_SUCCESSFUL, ChangeDisplaySettingsA(&pictureSize, CDS_TEST))
        << "this test needs a display that refuses the picture's size";
    support::SaverProcess saver(support::saverCommand("/s"));
    const std::string text = tools::desktopprobe::MessageBoxReader::answer(
                                 app::MessageBoxReporter(app::APPLICATION_NAME).errorCaption())
                                 .text;
    EXPECT_EQ(0u, text.find("Exception caught in 'runScreensaver'.\nCould not set the display "
                            "setting using 'ChangeDisplaySettings'.\nFlags: 4\n"
                            "Result: -2 (DISP_CHANGE_BADMODE)\n"))
        << text;
    EXPECT_EQ(nullptr, FindWindowA(app::WINDOW_CLASS_NAME, nullptr));
    EXPECT_EQ(0, saver.waitForExit(timeouts::SHORT_WAIT_MS));
}

} // namespace
