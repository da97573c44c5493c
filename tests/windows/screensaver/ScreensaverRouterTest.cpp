#include "windows/screensaver/ScreensaverRouter.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <climits>

#include "exceptions/IllegalArgumentException.h"
#include "exceptions/NumberFormatException.h"
#include "util/parser/CommandLineConverterException.h"
#include "windows/screensaver/ProcessContext.h"

namespace {

using exceptions::Exception;
using exceptions::IllegalArgumentException;
using exceptions::NumberFormatException;
using util::parser::CommandLineConverterException;
using windows::screensaver::ProcessContext;
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

class FakeProcess : public ProcessContext {
public:
    explicit FakeProcess(std::string commandLine)
        : _commandLine(std::move(commandLine)) {}
    std::string getCommandLine() const override { return _commandLine; }
    HWND getForegroundWindow() const override {
        return reinterpret_cast<HWND>(static_cast<std::intptr_t>(4242));
    }

private:
    std::string _commandLine;
};

const std::string PROGRAM = "C:\\WINDOWS\\system32\\Plovix.scr";

// What the router calls for a process started with `commandLine`, or the
// failure's message.
std::string routed(const std::string& commandLine) {
    RecordingScreensaver saver;
    try {
        ScreensaverRouter router(saver, "", FakeProcess(commandLine));
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

TEST(ScreensaverRouterTest, NoFlagOrSlashSRunsFullScreen) {
    EXPECT_EQ("runScreensaver", routed(PROGRAM));
    EXPECT_EQ("runScreensaver", withArguments("   "));
    EXPECT_EQ("runScreensaver", withArguments("/s"));
    EXPECT_EQ("runScreensaver", withArguments("/S"));
}

TEST(ScreensaverRouterTest, PreviewsGetTheirHandle) {
    EXPECT_EQ("runPreview 1234", withArguments("/p 1234"));
    EXPECT_EQ("runPreview 1234", withArguments("/L 1234"));
    EXPECT_EQ("runPreview 0", withArguments("/p 0"));
    EXPECT_EQ("runPreview 12", withArguments("/p 12ab"));
    EXPECT_EQ("runPreview -5", withArguments("/p -5"));
}

TEST(ScreensaverRouterTest, ConfigureTakesTheGivenOrTheForegroundWindow) {
    EXPECT_EQ("configure 1234", withArguments("/c:1234"));
    EXPECT_EQ("configure 1234", withArguments("/c 1234"));
    EXPECT_EQ("configure 4242", withArguments("/c"));
    EXPECT_EQ("failed: The flag /c:1234 is not allowed", withArguments("/C:1234"));
}

TEST(ScreensaverRouterTest, FullScreenWinsOverPreviewWhichWinsOverConfigure) {
    EXPECT_EQ("runScreensaver", withArguments("/c /s"));
    EXPECT_EQ("runScreensaver", withArguments("/s /p 5"));
    EXPECT_EQ("runPreview 5", withArguments("/c /p 5"));
}

TEST(ScreensaverRouterTest, BadArgumentsFailBeforeAnythingRuns) {
    EXPECT_EQ("failed: Error parsing the string [00] to an integer", withArguments("/p 00"));
    EXPECT_EQ("failed: Error parsing the string [abc] to an integer", withArguments("/p abc"));
    EXPECT_EQ("failed: Not enough arguments for the flag /p. 1 is required.", withArguments("/p"));
    EXPECT_EQ("failed: No arguments for the flag /s are allowed", withArguments("/s 5"));
    EXPECT_EQ("failed: The flag /x is not allowed", withArguments("/x"));
    EXPECT_EQ("failed: Unmatched \" found when parsing command line: " + PROGRAM + " /p \"5 ",
              withArguments("/p \"5"));
}

TEST(ScreensaverRouterTest, FailuresHaveTheirOwnTypes) {
    RecordingScreensaver saver;
    EXPECT_THROW(ScreensaverRouter(saver, "", FakeProcess(PROGRAM + " /p x")),
                 NumberFormatException);
    EXPECT_THROW(ScreensaverRouter(saver, "", FakeProcess(PROGRAM + " /p")),
                 IllegalArgumentException);
    EXPECT_THROW(ScreensaverRouter(saver, "", FakeProcess("\"" + PROGRAM)),
                 CommandLineConverterException);
    EXPECT_TRUE(saver.calls.empty());
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
    ScreensaverRouter(saver, "x.scr /p 31", FakeProcess(PROGRAM + " /s")).route();
    EXPECT_EQ(std::vector<std::string>{"runPreview 31"}, saver.calls);
    EXPECT_THROW(ScreensaverRouter(saver, "x.scr /s", FakeProcess(PROGRAM + " \"")),
                 CommandLineConverterException);
}

TEST(ScreensaverRouterTest, ReadsTheRealProcessCommandLine) {
    // The test program's own command line holds no screen-saver flags, so
    // whatever gtest was given must be rejected, unless it was given nothing.
    RecordingScreensaver saver;
    const std::string own = GetCommandLineA();
    const bool hasArguments = own.find(" --") != std::string::npos;
    if (hasArguments) {
        EXPECT_THROW(ScreensaverRouter(saver, ""), IllegalArgumentException);
    } else {
        ScreensaverRouter(saver, "").route();
        EXPECT_EQ(std::vector<std::string>{"runScreensaver"}, saver.calls);
    }
}

TEST(ScreensaverRouterTest, ParseIntegerReadsLikeAtoiAndClamps) {
    EXPECT_EQ(0, ScreensaverRouter::parseInteger("0"));
    EXPECT_EQ(-7, ScreensaverRouter::parseInteger(" \t-7x"));
    EXPECT_EQ(INT_MAX, ScreensaverRouter::parseInteger("2147483647"));
    EXPECT_EQ(INT_MAX, ScreensaverRouter::parseInteger("99999999999999999999999"));
    EXPECT_EQ(INT_MIN, ScreensaverRouter::parseInteger("-2147483648"));
    EXPECT_EQ(INT_MIN, ScreensaverRouter::parseInteger("-2147483649"));
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
