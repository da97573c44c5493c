#include "util/StringHelper.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using util::StringHelper;

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
