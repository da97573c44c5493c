#include "util/StringHelper.h"

#include <gtest/gtest.h>

#include "support/ReportDirectory.h"

namespace {

using util::StringHelper;

TEST(StringHelperTest, ChangesTheCaseOfAsciiLettersOnlyUpToTheFirstZeroByte) {
    EXPECT_EQ("/s /p 1234", StringHelper::toLowerCase("/S /P 1234"));
    EXPECT_EQ("", StringHelper::toLowerCase(""));
    // A capital from a single-byte code page (0xC4, A with diaeresis) stays.
    EXPECT_EQ("\xC4@[`{z", StringHelper::toLowerCase("\xC4@[`{Z"));
    EXPECT_EQ("ABC\xE4", StringHelper::convertCase("abC\xE4", util::UPPER_CASE));
    EXPECT_EQ("ab", StringHelper::toLowerCase(std::string("AB\0CD", 5)));
}

TEST(StringHelperTest, UnknownModeIsReportedWithItsSourceFileAndConvertsNothing) {
    support::ReportDirectory directory;
    EXPECT_EQ("MiXeD", StringHelper::convertCase("MiXeD", 2));
    EXPECT_EQ(std::vector<std::string>{"false"}, directory.failedChecks());
    // Reports name the file relative to the source tree, not the build machine's path.
    EXPECT_NE(std::string::npos, directory.reportFile().find("File: util/StringHelper.cpp"));
}

TEST(StringHelperTest, ReplaceAllNeverSearchesWhatItInserted) {
    const struct {
        const char *in, *search, *with, *out;
        int count;
    } cases[] = {{"aaa", "a", "aa", "aaaaaa", 3},
                 {"\"a b\"", "\"", "", "a b", 2},
                 {"abcabc", "bc", "-", "a-a-", 2},
                 {"no match", "x", "y", "no match", 0},
                 {"abc", "", "x", "abc", 0}};
    for (const auto& c : cases) {
        std::string text = c.in;
        EXPECT_EQ(c.count, StringHelper::replaceAll(text, c.search, c.with)) << c.in;
        EXPECT_EQ(c.out, text);
    }
}

TEST(StringHelperTest, ReplaceAllReportsZeroBytesButStillReplacesAcrossThem) {
    support::ReportDirectory directory;
    std::string text("a\0a", 3);
    EXPECT_EQ(2, StringHelper::replaceAll(text, "a", "b"));
    EXPECT_EQ(std::string("b\0b", 3), text);
    EXPECT_EQ(
        std::vector<std::string>{
            "find(replaceIn.begin(), replaceIn.end(), '\\0') == replaceIn.end()"},
        directory.failedChecks());
}

} // namespace
