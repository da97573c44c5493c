#include "util/StringHelper.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using util::StringHelper;

// Bytes from a single-byte code page (0xC4 is a capital A with diaeresis)
// stay as they are, whatever the locale.
TEST(StringHelperTest, ChangesTheCaseOfAsciiLettersOnlyUpToTheFirstZeroByte) {
    EXPECT_EQ("\xC4@[`{z/s", StringHelper::toLowerCase("\xC4@[`{Z/S"));
    EXPECT_EQ("ab", StringHelper::toLowerCase(std::string("AB\0CD", 5)));
}

TEST(StringHelperTest, ReplaceAllNeverSearchesWhatItInserted) {
    const struct {
        const char *in, *search, *with, *out;
        int count;
    } cases[] = {{"aaa", "a", "aa", "aaaaaa", 3},
                 {"abcabc", "bc", "-", "a-a-", 2},
                 {"no match", "x", "y", "no match", 0},
                 {"abc", "", "x", "abc", 0}};
    for (const auto& c : cases) {
        std::string text = c.in;
        EXPECT_EQ(c.count, StringHelper::replaceAll(text, c.search, c.with)) << c.in;
        EXPECT_EQ(c.out, text);
    }
}

} // namespace
