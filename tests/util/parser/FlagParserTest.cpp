#include "util/parser/FlagParser.h"

#include <gtest/gtest.h>

#include <random>

#include "exceptions/IllegalArgumentException.h"
#include "support/Thrown.h"

namespace {

using exceptions::IllegalArgumentException;
using util::parser::FlagParser;
using Arguments = std::vector<std::string>;

const std::string OK = "(nothing thrown)";

// A parser with the screen saver's four flags.
struct ScreensaverFlags {
    ScreensaverFlags()
        : parser('/') {
        parser.addFlag("/s", 0, 0, true);
        parser.addFlag("/c", 0, 1, true);
        parser.addFlag("/p", 1, 1, true);
        parser.addFlag("/l", 1, 1, true);
    }

    // The message the parse fails with.
    std::string failureOf(const std::string& line) {
        return support::thrown<IllegalArgumentException>([&] { parser.parse(line); });
    }

    FlagParser parser;
};

// Each test starts from a fresh parser.
class FlagParserTest : public ::testing::Test, protected ScreensaverFlags {};

TEST_F(FlagParserTest, RecordsFlagsWithTheirArguments) {
    ASSERT_EQ(OK, failureOf(" \t/p\n1 /l\r\v\f2 "));
    EXPECT_EQ(Arguments{"1"}, parser.getArguments("/p"));
    EXPECT_EQ(Arguments{"2"}, parser.getArguments("/l"));
    EXPECT_FALSE(parser.isFlagSet("/c"));
    EXPECT_FALSE(parser.isFlagSet("/s"));

    ScreensaverFlags flagOnly;
    ASSERT_EQ(OK, flagOnly.failureOf("/c"));
    EXPECT_EQ(Arguments{}, flagOnly.parser.getArguments("/c"));
}

TEST_F(FlagParserTest, EmptyLineSetsNothing) {
    EXPECT_EQ(OK, failureOf(" \t "));
    EXPECT_FALSE(parser.isFlagSet("/s"));
    try {
        parser.getArguments("/c");
        FAIL() << "no exception";
    } catch (const IllegalArgumentException& e) {
        EXPECT_EQ("The flag: /c was not parsed", e.getMessage());
    }
}

TEST_F(FlagParserTest, RejectsTokensAsTheyCome) {
    EXPECT_EQ("The argument line should start with a flag", failureOf("5 /s"));
    EXPECT_EQ("The flag /x is not allowed", ScreensaverFlags().failureOf("/x"));
    EXPECT_EQ("The flag / is not allowed", ScreensaverFlags().failureOf("/"));
    EXPECT_EQ("The flag /S is not allowed", ScreensaverFlags().failureOf("/S"));
    EXPECT_EQ("The flag /s was used more than once.", ScreensaverFlags().failureOf("/s /s"));
}

TEST_F(FlagParserTest, ValidatesArgumentCountsInNameOrder) {
    EXPECT_EQ("Too many arguments for the flag /c. No more than 1 arguments allowed",
              failureOf("/c 1 2"));
    EXPECT_EQ("No arguments for the flag /s are allowed", ScreensaverFlags().failureOf("/s 5"));
    EXPECT_EQ("Not enough arguments for the flag /p. 1 is required.",
              ScreensaverFlags().failureOf("/p"));
    // /l comes before /p in the order of the names.
    EXPECT_EQ("Not enough arguments for the flag /l. 1 is required.",
              ScreensaverFlags().failureOf("/p /l"));
}

TEST_F(FlagParserTest, MandatoryFlagMustBeGiven) {
    parser.addFlag("/m", 2, 2, false);
    EXPECT_EQ("The non optional flag /m was not found.", failureOf(""));
}

TEST(FlagParserDeclarationTest, RejectsBadDeclarations) {
    FlagParser parser('/');
    parser.addFlag("/s", 0, 0, true);
    parser.addFlag("/e", 3, 3, true);
    EXPECT_EQ("The flag /s has been previosly specified",
              support::thrown<IllegalArgumentException>([&] { parser.addFlag("/s", 0, 0, true); }));
    EXPECT_EQ("[max] must be bigger or equal to [min]",
              support::thrown<IllegalArgumentException>([&] { parser.addFlag("/x", 2, 1, true); }));
}

TEST_F(FlagParserTest, TakesAnyLine) {
    std::mt19937 random(1206);
    const std::vector<std::string> words = {"/s", "/c", "/p", "/l", "/",    "/x", "5",
                                            "\"", " ",  "\t", "\n", "\x80", "0",  "/c:1"};
    for (int round = 0; round < 2000; ++round) {
        std::string line;
        for (unsigned int n = random() % 8; n > 0; --n) {
            line += words[random() % words.size()] + (random() % 2 == 0 ? " " : "");
        }
        ScreensaverFlags fresh;
        if (fresh.failureOf(line) == OK) {
            for (const std::string flag : {"/s", "/c", "/p", "/l"}) {
                if (fresh.parser.isFlagSet(flag)) {
                    EXPECT_LE(fresh.parser.getArguments(flag).size(), 1u) << line;
                }
            }
        }
    }
}

} // namespace
