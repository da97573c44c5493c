#include "util/Helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ReportDirectory.h"

namespace {

// printf with no format would crash. The report names the file relative to
// the source tree, never the build machine's path.
TEST(HelpersTest, NullFormatIsReportedAndGivesEmptyText) {
    support::ReportDirectory directory;
    EXPECT_EQ("", util::numberToString(5, nullptr));
    EXPECT_EQ(std::vector<std::string>{"format"}, directory.failedChecks());
    EXPECT_NE(std::string::npos, directory.reportFile().find("File: util/Helpers.cpp"));
}

} // namespace
