#include "windows/screensaver/ScreensaverRouter.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <climits>

#include "exceptions/NumberFormatException.h"
#include "support/FakeProcess.h"
#include "util/parser/CommandLineConverterException.h"

namespace {

using exceptions::Exception;
using exceptions::NumberFormatException;
using util::parser::CommandLineConverterException;
using windows::screensaver::Screensaver;
using windows::screensaver::ScreensaverRouter;

// Records which operation was called with which handle, as "runPreview 1234".
class RecordingScreensaver : public Screensaver {
public:
    virtual ~RecordingScreensaver() = default;
    void configure(HWND owner) override { calls.push_back("configure " + text(owner)); }
    void runScreensaver() override { calls.push_back("runScreensaver"); }
    void runPreview(HWND parent) override { calls.push_back("runPreview " + text(parent)); }

    static std::string text(HWND handle) {
        return std::to_string(reinterpret_cast<std::intptr_t>(handle));
    }

    std::vector<std::string> calls;
};

const std::string PROGRAM = "C:\\WINDOWS\\system32\\Plovix.scr";

// What the router calls for a process started with `commandLine`, or the
// failure's message.
std::string routed(const std::string& commandLine) {
    RecordingScreensaver saver;
    try {
        ScreensaverRouter router(saver, "", support::FakeProcess(commandLine));
        router.route();
    } catch (const Exception& e) {
        return "failed: " + e.getMessage();
    }
    std::string calls;
    for (const std::string& call : saver.calls) {
        calls += (calls.empty() ? "" : ", ") + call;
    }
    return calls;
}

std::string withArguments(const std::string& arguments) {
    return routed(PROGRAM + " " + arguments);
}

TEST(ScreensaverRouterTest, EachModeIsCalledWithItsHandle) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "runScreensaver"},
        {"   ", "runScreensaver"},
        {"/S", "runScreensaver"},
        {"/p 1234", "runPreview 1234"},
        {"/L 1234", "runPreview 1234"},
        {"/p 0", "runPreview 0"},
        {"/p 12ab", "runPreview 12"},
        {"/c:1234", "configure 1234"},
        {"/c 1234", "configure 1234"},
        {"/c", "configure 4242"}, // the foreground window
        {"/c /s", "runScreensaver"},
        {"/s /p 5", "runScreensaver"},
        {"/c /p 5", "runPreview 5"},
        {"/p 00", "failed: Error parsing the string [00] to an integer"},
        {"/C:1234", "failed: The flag /c:1234 is not allowed"}, // only "/c:" is split
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.second, withArguments(c.first)) << c.first;
    }
    EXPECT_EQ("runScreensaver", routed(PROGRAM));
}

TEST(ScreensaverRouterTest, QuotedProgramPathWithBlanksIsDroppedWhole) {
    // As Windows' own "Test" button starts a saver, and as Wine starts every program.
    EXPECT_EQ("runScreensaver", routed("\"C:\\Program Files\\Plovix\\Plovix.scr\" /s"));
    EXPECT_EQ("runPreview 77", routed("\"Z:\\tmp\\Program Files\\Plovix.scr\" /p 77"));
    EXPECT_EQ("configure 9", routed("\"C:\\Program Files\\Plovix.scr\"/c:9"));
    EXPECT_EQ("runScreensaver", routed("\"C:\\Program Files\\Plovix.scr\""));
}

TEST(ScreensaverRouterTest, TextHandedInReplacesTheProcessLineButQuotesThereStillCount) {
    RecordingScreensaver saver;
    ScreensaverRouter(saver, "x.scr /p 31", support::FakeProcess(PROGRAM + " /s")).route();
    EXPECT_EQ(std::vector<std::string>{"runPreview 31"}, saver.calls);
    EXPECT_THROW(ScreensaverRouter(saver, "x.scr /s", support::FakeProcess(PROGRAM + " \"")),
                 CommandLineConverterException);
}

TEST(ScreensaverRouterTest, ParseIntegerReadsLikeAtoiAndClamps) {
    const std::pair<const char*, int> values[] = {{"0", 0},
                                                  {" \t-7x", -7},
                                                  {"2147483647", INT_MAX},
                                                  {"99999999999999", INT_MAX},
                                                  {"-2147483648", INT_MIN},
                                                  {"-2147483649", INT_MIN}};
    for (const auto& v : values) {
        EXPECT_EQ(v.second, ScreensaverRouter::parseInteger(v.first)) << v.first;
    }
    for (const char* zero : {"00", "+0", " 0", "-", "abc"}) {
        EXPECT_THROW(ScreensaverRouter::parseInteger(zero), NumberFormatException) << zero;
    }
    try {
        ScreensaverRouter::parseInteger("");
        FAIL() << "no exception";
    } catch (const NumberFormatException& e) {
        EXPECT_EQ("The empty string cannot be parsed into an integer", e.getMessage());
    }
}

} // namespace
