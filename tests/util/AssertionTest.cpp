#include "util/Assertion.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "support/ReportDirectory.h"

namespace {

#ifdef _WIN32
const std::string EOL = "\r\n"; // the report file is written in text mode
#else
const std::string EOL = "\n";
#endif

std::string expectedReport(const std::string& message, const std::string& file,
                           const std::string& line, const std::string& time) {
    const std::string rule(40, '-');
    return rule + EOL + "Assertion failed. Message: " + message + EOL + "File: " + file + EOL +
           "Line: " + line + EOL + "Occurred: " + time + EOL + EOL +
           "Please contact the developers and include this message." + EOL +
           "Thank you for helping us improve the software." + EOL + rule + EOL;
}

// Whether `actual` is the report as written at some second from `from` to
// `to`: the clock may tick while the report is written.
bool isReportWrittenBetween(const std::string& actual, std::time_t from, std::time_t to,
                            const std::string& message, const std::string& file,
                            const std::string& line) {
    for (std::time_t t = from; t <= to; ++t) {
        if (actual == expectedReport(message, file, line, util::assertionTimeText(t))) {
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
    const std::string printed = ::testing::internal::GetCapturedStdout();
    const std::string first = directory.reportFile();
    util::assertionFailed("_lockCount == 0", "platform/mutex/MutexImpl.cpp", 4294967295u);
    const std::time_t to = std::time(nullptr);

    EXPECT_TRUE(isReportWrittenBetween(first, from, to, "x", "f", "7")) << first;
    EXPECT_NE(std::string::npos, printed.find("Assertion failed. Message: x"));

    const std::string both = directory.reportFile();
    ASSERT_EQ(first, both.substr(0, first.size()));
    // Line numbers are unsigned, never printed with a minus sign.
    EXPECT_TRUE(isReportWrittenBetween(both.substr(first.size()), from, to, "_lockCount == 0",
                                       "platform/mutex/MutexImpl.cpp", "4294967295"));
}

TEST(AssertionTest, ReturnsNormallyWhenTheReportCannotBeStored) {
    support::ReportDirectory directory;
    // A directory in the file's place cannot be opened for appending, even
    // by an administrator.
    std::filesystem::create_directory(directory.path() / "assertion.txt");

    ::testing::internal::CaptureStdout();
    util::assertionFailed("false", "util/StringHelper.cpp", 1);
    EXPECT_NE(std::string::npos, ::testing::internal::GetCapturedStdout().find("Message: false"));
    EXPECT_TRUE(std::filesystem::is_directory(directory.path() / "assertion.txt"));
}

TEST(AssertionTest, TimeTextHasTheFixedFormWithZeroPaddedDay) {
    std::tm local = {};
    local.tm_year = 2027 - 1900;
    local.tm_mon = 0;
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
