#include "util/parser/FlagParser.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "exceptions/IllegalArgumentException.h"
#include "support/Thrown.h"
#include "windows/screensaver/ScreensaverRouter.h"

namespace {

using exceptions::IllegalArgumentException;
using support::thrown;

// The message a parser with the screen saver's four flags fails `line` with.
std::string failureOf(const std::string& line) {
    util::parser::FlagParser parser('/');
    windows::screensaver::ScreensaverRouter::declareFlags(parser);
    return thrown<IllegalArgumentException>([&] { parser.parse(line); });
}

// How accepted lines are read is the fuzz target's property.
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
        EXPECT_EQ(c.second, failureOf(c.first)) << c.first;
    }
}

} // namespace
