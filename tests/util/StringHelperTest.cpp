#include "util/StringHelper.h"

#include <gtest/gtest.h>

#include "support/ReportDirectory.h"

namespace {

using util::StringHelper;

TEST(StringHelperTest, LowerCasesOnlyAsciiCapitals) {
    EXPECT_EQ("/s /p 1234", StringHelper::toLowerCase("/S /P 1234"));
    EXPECT_EQ("", StringHelper::toLowerCase(""));
    // A capital from a single-byte code page (0xC4, A with diaeresis) stays.
    EXPECT_EQ("\xC4@[`{z", StringHelper::toLowerCase("\xC4@[`{Z"));
    EXPECT_EQ("ABC\xE4", StringHelper::convertCase("abC\xE4", util::UPPER_CASE));
}

TEST(StringHelperTest, ConvertCaseStopsAtTheFirstZeroByte) {
    EXPECT_EQ("ab", StringHelper::toLowerCase(std::string("AB\0CD", 5)));
}

TEST(StringHelperTest, UnknownModeIsReportedWithItsSourceFileAndConvertsNothing) {
    support::ReportDirectory directory;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ("MiXeD", StringHelper::convertCase("MiXeD", 2));
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::vector<std::string>{"false"}, directory.failedChecks());
    // Reports name the file relative to the source tree, not the build machine's path.
    EXPECT_NE(std::string::npos, directory.reportFile().find("File: util/StringHelper.cpp"));
}

TEST(StringHelperTest, ReplaceAllNeverSearchesWhatItInserted) {
    std::string text = "aaa";
    EXPECT_EQ(3, StringHelper::replaceAll(text, "a", "aa"));
    EXPECT_EQ("aaaaaa", text);

    text = "\"a b\"";
    EXPECT_EQ(2, StringHelper::replaceAll(text, "\"", ""));
    EXPECT_EQ("a b", text);

    text = "abcabc";
    EXPECT_EQ(2, StringHelper::replaceAll(text, "bc", "-"));
    EXPECT_EQ("a-a-", text);

    text = "no match";
    EXPECT_EQ(0, StringHelper::replaceAll(text, "x", "y"));
    EXPECT_EQ("no match", text);
}

TEST(StringHelperTest, ReplaceAllWithEmptySearchReplacesNothing) {
    std::string text = "abc";
    EXPECT_EQ(0, StringHelper::replaceAll(text, "", "x"));
    EXPECT_EQ("abc", text);
}

TEST(StringHelperTest, ReplaceAllReportsZeroBytesButStillReplacesAcrossThem) {
    support::ReportDirectory directory;
    std::string text("a\0a", 3);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(2, StringHelper::replaceAll(text, "a", "b"));
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::string("b\0b", 3), text);
    EXPECT_EQ(
        std::vector<std::string>{
            "find(replaceIn.begin(), replaceIn.end(), '\\0') == replaceIn.end()"},
        directory.failedChecks());
}

} // namespace
