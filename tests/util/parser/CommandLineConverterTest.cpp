#include "util/parser/CommandLineConverter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/ReportDirectory.h"
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

// Any byte string (a command line never holds a zero byte) converts exactly
// when its quotes pair up; the sanitizers of the host build watch for leaks
// and bad accesses meanwhile.
TEST(CommandLineConverterTest, TakesAnyByteString) {
    support::ReportDirectory directory;
    std::mt19937 random(20261206);
    const std::string favourites = " \"\t\\/sS";
    for (int round = 0; round < 3000; ++round) {
        std::string line(random() % 24, '\0');
        for (char& c : line) {
            c = random() % 2 == 0 ? favourites[random() % favourites.size()]
                                  : static_cast<char>(1 + random() % 255);
        }
        const bool even = std::count(line.begin(), line.end(), '"') % 2 == 0;
        try {
            const CommandLineConverter converter(line);
            ASSERT_TRUE(even) << line;
            for (std::uint32_t i = 0; i < converter.getArgc(); ++i) {
                EXPECT_EQ(nullptr, std::strchr(converter.getArgv()[i], '"')) << line;
            }
        } catch (const CommandLineConverterException&) {
            ASSERT_FALSE(even) << line;
        }
    }
    EXPECT_EQ(std::vector<std::string>{}, directory.failedChecks());
}

} // namespace
