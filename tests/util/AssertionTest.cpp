#include "util/Assertion.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "support/ReportDirectory.h"

namespace {

#ifdef _WIN32
const std::string EOL = "\r\n"; // the report file is written in text mode
#else
const std::string EOL = "\n";
#endif

// Whether `actual` is the report of check "x" at "f" line 7 as written at
// some second from `from` to `to`: the clock may tick while it is written.
bool isReportWrittenBetween(const std::string& actual, std::time_t from, std::time_t to) {
    const std::string rule(40, '-');
    for (std::time_t t = from; t <= to; ++t) {
        if (actual == rule + EOL + "Assertion failed. Message: x" + EOL + "File: f" + EOL +
                          "Line: 7" + EOL + "Occurred: " + util::assertionTimeText(t) + EOL + EOL +
                          "Please contact the developers and include this message." + EOL +
                          "Thank you for helping us improve the software." + EOL + rule + EOL) {
            return true;
        }
    }
    return false;
}

TEST(AssertionTest, AppendsNineLineReportsAndCopiesThemToStandardOutput) {
    support::ReportDirectory directory;
    const std::time_t from = std::time(nullptr);
    ::testing::internal::CaptureStdout();
    util::assertionFailed("x", "f", 7);
    util::assertionFailed("x", "f", 7);
    const std::string printed = ::testing::internal::GetCapturedStdout();
    const std::time_t to = std::time(nullptr);

    EXPECT_NE(std::string::npos, printed.find("Assertion failed. Message: x"));
    const std::string stored = directory.reportFile();
    const std::size_t half = stored.size() / 2; // the time text has a fixed length
    EXPECT_TRUE(isReportWrittenBetween(stored.substr(0, half), from, to)) << stored;
    EXPECT_TRUE(isReportWrittenBetween(stored.substr(half), from, to)) << stored;
}

TEST(AssertionTest, ReturnsNormallyWhenTheReportCannotBeStored) {
    support::ReportDirectory directory;
    // A directory in the file's place cannot be opened for appending, even
    // by an administrator.
    std::filesystem::create_directory(directory.path() / "assertion.txt");
    ::testing::internal::CaptureStdout();
    util::assertionFailed("false", "util/StringHelper.cpp", 1);
    EXPECT_NE(std::string::npos, ::testing::internal::GetCapturedStdout().find("Message: false"));
}

TEST(AssertionTest, TimeTextHasTheFixedFormWithZeroPaddedDay) {
    std::tm local = {};
    local.tm_year = 2027 - 1900;
    local.tm_mday = 2;
    local.tm_hour = 3;
    local.tm_min = 4;
    local.tm_sec = 5;
    local.tm_isdst = -1;
    EXPECT_EQ("Sat Jan 02 03:04:05 2027", util::assertionTimeText(std::mktime(&local)));
}

TEST(AssertionTest, CheckEvaluatesItsConditionOnceAndCarriesOn) {
    support::ReportDirectory directory;
    int evaluations = 0;
    PLOVIX_CHECK(++evaluations == 2);
    PLOVIX_CHECK(evaluations == 1);
    EXPECT_EQ(1, evaluations);
    EXPECT_EQ(std::vector<std::string>{"++evaluations == 2"}, directory.failedChecks());
}

} // namespace
