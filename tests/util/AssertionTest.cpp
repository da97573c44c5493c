#include "util/Assertion.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
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

// Points the user's temporary folder at `folder`; each test runs in a process
// of its own, so nothing needs to be put back.
void pointTemporaryFolderAt(const std::filesystem::path& folder) {
#ifdef _WIN32
    SetEnvironmentVariableA("TMP", (folder.string() + "\\").c_str());
#else
    setenv("TMPDIR", folder.string().c_str(), 1);
#endif
}

// The system often starts a saver in a folder the user cannot write: the
// report then goes to the user's temporary folder, and when that refuses it
// too it is only printed.
TEST(AssertionTest, ReportFallsBackToTheTemporaryFolderAndIsNeverFatal) {
    support::ReportDirectory directory;
    const std::filesystem::path temporary = directory.path() / "temp";
    std::filesystem::create_directory(temporary);
    pointTemporaryFolderAt(temporary);
    // A directory in the file's place cannot be opened for appending, even
    // by an administrator.
    std::filesystem::create_directory(directory.path() / "assertion.txt");
    util::assertionFailed("first", "f", 1);
    std::ifstream fallback(temporary / "assertion.txt");
    EXPECT_NE(std::string::npos,
              std::string(std::istreambuf_iterator<char>(fallback), {}).find("Message: first"));
    fallback.close();

    std::filesystem::remove(temporary / "assertion.txt");
    std::filesystem::create_directory(temporary / "assertion.txt");
    ::testing::internal::CaptureStdout();
    util::assertionFailed("second", "f", 2);
    EXPECT_NE(std::string::npos, ::testing::internal::GetCapturedStdout().find("Message: second"));
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
