#include "util/Helpers.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/ReportDirectory.h"

namespace {

using util::numberToString;

TEST(HelpersTest, PrintsTheExtremesOfBothForms) {
    EXPECT_EQ("4294967295", numberToString(UINT_MAX));
    EXPECT_EQ("-2147483648", numberToString(INT_MIN));
    EXPECT_EQ("-1", numberToString(-1));
    EXPECT_EQ("0x00ff", numberToString(255, "0x%04x"));
}

TEST(HelpersTest, NullFormatIsReportedAndGivesEmptyText) {
    support::ReportDirectory directory;
    EXPECT_EQ("", numberToString(5, nullptr));
    EXPECT_EQ(std::vector<std::string>{"format"}, directory.failedChecks());
}

} // namespace
