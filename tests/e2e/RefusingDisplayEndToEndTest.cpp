// Runs on a display that refuses 800 x 600.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/MessageBoxReporter.h"
#include "app/Program.h"
#include "desktopprobe/MessageBoxReader.h"
#include "support/SaverProcess.h"

namespace {

TEST(RefusingDisplayEndToEndTest, FullScreenRunReportsTheRefusalAndOpensNoWindow) {
    ASSERT_NE(800, GetSystemMetrics(SM_CXSCREEN)) << "this test needs a display other than 800x600";
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
