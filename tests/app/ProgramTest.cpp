#include "app/Program.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/InputExitPolicy.h"
#include "support/FakeDisplaySettings.h"
#include "support/FakeProcess.h"
#include "support/RecordingReporter.h"

namespace {

class ProgramTest : public ::testing::Test {
protected:
    int run(const std::string& arguments) {
        return app::runProgram(
            reporter, display, policy,
            support::FakeProcess("\"C:\\Program Files\\Plovix.scr\" " + arguments));
    }

    support::RecordingReporter reporter;
    support::FakeDisplaySettings display;
    app::InputExitPolicy policy;
};

TEST_F(ProgramTest, BadCommandLineIsShownAndEndsWithOne) {
    EXPECT_EQ(1, run("/p abc"));
    EXPECT_EQ(std::vector<std::string>{"Error parsing the string [abc] to an integer"},
              reporter.errors);
    EXPECT_EQ(1, run("/x"));
    EXPECT_EQ("The flag /x is not allowed", reporter.errors.back());
    EXPECT_TRUE(display.calls.empty());
}

TEST_F(ProgramTest, ConfigureShowsTheNoticeAndEndsWithZero) {
    EXPECT_EQ(0, run("/c:1234"));
    EXPECT_EQ((std::vector<std::string>{"Sablewick Screensaver by Brannix.\nThis screen saver has "
                                        "no options that you can set."}),
              reporter.information);
    EXPECT_TRUE(reporter.errors.empty());
}

} // namespace
