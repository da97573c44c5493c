#include "app/Program.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/InputExitPolicy.h"
#include "app/PlovixsaverImpl.h"
#include "support/FakeDisplaySettings.h"
#include "support/FakeProcess.h"
#include "support/RecordingReporter.h"

namespace {

// A refused command line ends in an error box and exit code 1, a mode that
// returns in 0; neither touches the display.
TEST(ProgramTest, CommandLineDecidesTheBoxAndTheExitCode) {
    support::RecordingReporter reporter;
    support::FakeDisplaySettings display;
    app::InputExitPolicy policy;
    const auto run = [&](const std::string& arguments) {
        return app::runProgram(
            reporter, display, policy,
            support::FakeProcess("\"C:\\Program Files\\Plovix.scr\" " + arguments));
    };
    EXPECT_EQ(1, run("/p abc"));
    EXPECT_EQ(std::vector<std::string>{"Error parsing the string [abc] to an integer"},
              reporter.errors);
    EXPECT_EQ(0, run("/c:1234"));
    EXPECT_EQ(std::vector<std::string>{app::PlovixsaverImpl::NOTICE}, reporter.information);
    EXPECT_EQ(1u, reporter.errors.size());
    EXPECT_TRUE(display.calls.empty());
}

} // namespace
