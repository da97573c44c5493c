#include "windows/screensaver/ScreensaverRouter.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/RecordingScreensaver.h"

namespace {

using support::routed;

TEST(ScreensaverRouterTest, EachCommandLineCallsOneModeWithItsHandle) {
    const std::string program = "C:\\WINDOWS\\system32\\Plovix.scr";
    const std::string p = program + " ";
    // A quoted path with blanks is dropped whole, as Windows' "Test" button and Wine start
    // programs.
    const std::string spaced = "\"C:\\Program Files\\Plovix\\Plovix.scr\"";
    const std::pair<std::string, std::string> cases[] = {
        {program, "runScreensaver"},
        {p + "/S", "runScreensaver"},
        {p + "/p 1234", "runPreview 1234"},
        {p + "/L 1234", "runPreview 1234"},
        {p + "/p 0", "runPreview 0"},
        {p + "/p 12ab", "runPreview 12"},
        {p + "/c:1234", "configure 1234"},
        {p + "/c 1234", "configure 1234"},
        {p + "/c", "configure 4242"}, // the foreground window
        {p + "/c /s", "runScreensaver"},
        {p + "/s /p 5", "runScreensaver"},
        {p + "/c /p 5", "runPreview 5"},
        {p + "/p 2147488308", "runPreview -2147478988"}, // a handle printed unsigned
        {p + "/p 00", "failed: Error parsing the string [00] to an integer"},
        {p + "/C:1234", "failed: The flag /c:1234 is not allowed"}, // only "/c:" is split
        {p + "/p \"5", "failed: Unmatched \" found when parsing command line: " + p + "/p \"5 "},
        {spaced + " /s", "runScreensaver"},
        {spaced + "/c:9", "configure 9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.second, routed(c.first)) << c.first;
    }
}

// Some callers start a saver in a folder with blanks without quoting its
// path: the program's own path, in either form and any case, is recognised
// whole. Any other first word is read as before.
TEST(ScreensaverRouterTest, UnquotedProgramPathWithBlanksIsSkippedWhole) {
    const std::vector<std::string> paths = {"C:\\My Savers\\Plovix.scr",
                                            "C:\\MYSAVE~1\\Plovix.scr"};
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\My Savers\\Plovix.scr /p 1234", "runPreview 1234"},
        {"c:\\my savers\\PLOVIX.SCR\t/c:77", "configure 77"},
        {"C:\\MYSAVE~1\\Plovix.scr /s", "runScreensaver"},
        {"C:\\My Savers\\Plovix.scr", "runScreensaver"},
        {"C:\\My Savers\\Plovix.scrx /p 1", "failed: The argument line should start with a flag"},
        {"C:\\My Savers\\Other.scr /p 1", "failed: The argument line should start with a flag"},
        // Started by a relative name in its own folder: shorter than either path.
        {"Plovix.scr /s", "runScreensaver"},
        {"Plovix.scr", "runScreensaver"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.second, routed(c.first, 4242, paths)) << c.first;
    }
}

} // namespace
