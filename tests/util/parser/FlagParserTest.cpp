#include "util/parser/FlagParser.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "exceptions/IllegalArgumentException.h"
#include "support/Thrown.h"
#include "windows/screensaver/ScreensaverRouter.h"

namespace {

using exceptions::IllegalArgumentException;
using support::thrown;
using Arguments = std::vector<std::string>;

const std::string OK = "(nothing thrown)";

// A parser with the screen saver's four flags.
struct ScreensaverFlags {
    ScreensaverFlags()
        : parser('/') {
        windows::screensaver::ScreensaverRouter::declareFlags(parser);
    }
    // The message the parse fails with.
    std::string failureOf(const std::string& line) {
        return thrown<IllegalArgumentException>([&] { parser.parse(line); });
    }
    util::parser::FlagParser parser;
};

TEST(FlagParserTest, RecordsFlagsWithTheirArgumentsSeparatedByAnyWhiteSpace) {
    ScreensaverFlags flags;
    ASSERT_EQ(OK, flags.failureOf(" \t/p\n1 /l\r\v\f2 /c"));
    EXPECT_EQ(Arguments{"1"}, flags.parser.getArguments("/p"));
    EXPECT_EQ(Arguments{"2"}, flags.parser.getArguments("/l"));
    EXPECT_EQ(Arguments{}, flags.parser.getArguments("/c"));
    EXPECT_FALSE(flags.parser.isFlagSet("/s"));
    EXPECT_EQ(OK, ScreensaverFlags().failureOf(" \t "));
}

TEST(FlagParserTest, ReportsTheFirstRuleALineBreaks) {
    const std::pair<const char*, const char*> cases[] = {
        {"5 /s", "The argument line should start with a flag"},
        {"/x", "The flag /x is not allowed"},
        {"/", "The flag / is not allowed"},
        {"/S", "The flag /S is not allowed"}, // names are case-sensitive
        {"/s /s", "The flag /s was used more than once."},
        {"/c 1 2", "Too many arguments for the flag /c. No more than 1 arguments allowed"},
        {"/s 5", "No arguments for the flag /s are allowed"},
        {"/p", "Not enough arguments for the flag /p. 1 is required."},
        {"/p /l", "Not enough arguments for the flag /l. 1 is required."}, // /l sorts first
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.second, ScreensaverFlags().failureOf(c.first)) << c.first;
    }
}

} // namespace
