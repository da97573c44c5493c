#include "util/parser/CommandLineConverter.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/Thrown.h"
#include "util/parser/CommandLineConverterException.h"

namespace {

using util::parser::CommandLineConverter;
using util::parser::CommandLineConverterException;
using Tokens = std::vector<std::string>;

// Only blanks separate; quotes group, join what touches them and disappear.
// A backslash escapes nothing.
TEST(CommandLineConverterTest, SplitsAtBlanksOutsideQuotes) {
    const std::pair<const char*, Tokens> cases[] = {
        {"    ", {}},
        {"   a   b   ", {"a", "b"}},
        {"a\tb c\\d", {"a\tb", "c\\d"}},
        {"x \"in side\" y", {"x", "in side", "y"}},
        {"a\"b c\"d", {"ab cd"}},
        {"\"C:\\Program Files\\Plovix.scr\" /s", {"C:\\Program Files\\Plovix.scr", "/s"}},
        {"a \"\" b", {"a", "", "b"}},
        {"\"a\\\" b", {"a\\", "b"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.second, CommandLineConverter::tokenize(c.first)) << c.first;
    }
}

TEST(CommandLineConverterTest, UnmatchedQuoteNamesTheLineWithItsAddedBlank) {
    EXPECT_EQ("Unmatched \" found when parsing command line: a \" ",
              support::thrown<CommandLineConverterException>([] { CommandLineConverter("a \""); }));
}

} // namespace
