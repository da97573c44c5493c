#include "util/parser/CommandLineConverter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "support/ReportDirectory.h"
#include "util/parser/CommandLineConverterException.h"

namespace {

using util::parser::CommandLineConverter;
using util::parser::CommandLineConverterException;
using Tokens = std::vector<std::string>;

TEST(CommandLineConverterTest, BlanksSeparateAndNothingElseDoes) {
    EXPECT_EQ(Tokens{}, CommandLineConverter::tokenize(""));
    EXPECT_EQ(Tokens{}, CommandLineConverter::tokenize("    "));
    EXPECT_EQ((Tokens{"a", "b"}), CommandLineConverter::tokenize("   a   b   "));
    EXPECT_EQ((Tokens{"a\tb", "c\\d"}), CommandLineConverter::tokenize("a\tb c\\d"));
}

TEST(CommandLineConverterTest, QuotesGroupJoinAndDisappear) {
    EXPECT_EQ((Tokens{"x", "in side", "y"}), CommandLineConverter::tokenize("x \"in side\" y"));
    EXPECT_EQ(Tokens{"ab cd"}, CommandLineConverter::tokenize("a\"b c\"d"));
    EXPECT_EQ((Tokens{"C:\\Program Files\\Plovix\\Plovix.scr", "/s"}),
              CommandLineConverter::tokenize("\"C:\\Program Files\\Plovix\\Plovix.scr\" /s"));
    EXPECT_EQ((Tokens{"a", "", "b"}), CommandLineConverter::tokenize("a \"\" b"));
    // A backslash does not escape a quote.
    EXPECT_EQ((Tokens{"a\\", "b"}), CommandLineConverter::tokenize("\"a\\\" b"));
}

TEST(CommandLineConverterTest, UnmatchedQuoteNamesTheLineWithItsAddedBlank) {
    try {
        CommandLineConverter::tokenize("a \"");
        FAIL() << "no exception";
    } catch (const CommandLineConverterException& e) {
        EXPECT_EQ("Unmatched \" found when parsing command line: a \" ", e.getMessage());
    }
    EXPECT_THROW(CommandLineConverter("a\\\""), CommandLineConverterException);
}

// Any byte string (a command line never holds a zero byte) either converts or fails for an odd
// number of quotes; the sanitizers of the host build watch for leaks and bad accesses meanwhile.
TEST(CommandLineConverterTest, TakesAnyByteString) {
    support::ReportDirectory directory;
    std::mt19937 random(20261206);
    const std::string favourites = " \"\t\\/sS";
    const CommandLineConverter blanks("   ");
    EXPECT_EQ(0u, blanks.getArgc());
    EXPECT_EQ(nullptr, blanks.getArgv()[0]);
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
            const Tokens tokens = CommandLineConverter::tokenize(line);
            ASSERT_EQ(tokens.size(), converter.getArgc());
            for (std::size_t i = 0; i < tokens.size(); ++i) {
                EXPECT_EQ(0, tokens[i].compare(0, std::string::npos, converter.getArgv()[i],
                                               tokens[i].size()));
                EXPECT_EQ(std::string::npos, tokens[i].find('"'));
            }
            EXPECT_EQ(nullptr, converter.getArgv()[tokens.size()]);
        } catch (const CommandLineConverterException&) {
            ASSERT_FALSE(even) << line;
        }
    }
    EXPECT_EQ(std::vector<std::string>{}, directory.failedChecks());
}

} // namespace
