#include "testsummary/TestSummary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testsummary/JUnitReport.h"

namespace {

using tools::testsummary::JUnitReport;
using tools::testsummary::TestResult;
using tools::testsummary::TestSummary;

// A JUnit report as CTest writes it, of the given testcase elements.
std::vector<TestResult> report(const std::string& testcases) {
    return JUnitReport::tests(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuite name=\"(empty)\"\n"
        "\ttests=\"1\"\n\t>\n" +
        testcases + "</testsuite>\n");
}

std::string testcase(const std::string& name, const std::string& status, const std::string& child,
                     const std::string& output) {
    return "\t<testcase name=\"" + name + "\" classname=\"" + name + "\" time=\"0.5\" status=\"" +
           status + "\">\n" + child + "\t\t<system-out>" + output +
           "</system-out>\n\t</testcase>\n";
}

const std::string SPUN = std::string("watchdog: ...\n") + PLOVIX_WINE_FAULT_MARK +
                         "its server spun while every other process waited on it\n";

TEST(TestSummaryTest, CountsEachSuiteAndNamesEveryTestThatDidNotPass) {
    TestSummary summary(false);
    const std::vector<std::string> fixtures = {"small:start", "small:stop"};
    summary.addSuite("host", report(testcase("Flags.Parse", "run", "", "")), {}, {});
    summary.addSuite(
        "win64@small",
        report(testcase("small:start", "run", "", "display small: :1\n") +
               testcase("small:Saver.Runs", "run", "", "") +
               testcase("small:Saver.Old", "notrun",
                        "\t\t<skipped message=\"SKIP_RETURN_CODE=77\"/>\n",
                        "[ RUN      ] Saver.Old\nSaver.cpp:9: Skipped\nWine &lt; 9 &amp;&amp; no "
                        "&quot;x&quot;\n\n") +
               testcase("small:Saver.Hung", "fail", "\t\t<failure message=\"\"/>\n", SPUN) +
               testcase("small:Saver.Spun", "fail", "\t\t<failure message=\"\"/>\n", SPUN) +
               testcase("small:Saver.Missing", "notrun",
                        "\t\t<skipped message=\"Unable to find executable\"/>\n", "")),
        report(testcase("small:Saver.Spun", "run", "", "") +
               testcase("small:Saver.Hung", "fail", "\t\t<failure message=\"\"/>\n", SPUN)),
        fixtures);
    summary.addSuite(
        "win64@switching",
        report(testcase("switching:start", "fail", "\t\t<failure message=\"\"/>\n", "no Xorg\n") +
               testcase("switching:E2E.Runs", "notrun",
                        "\t\t<skipped message=\"Fixture dependency failed\"/>\n",
                        "Failed test dependencies: switching:start")),
        {}, {"switching:start"});
    summary.addSuite("win64@refusing", report(testcase("refusing:start", "run", "", "")), {},
                     {"refusing:start"});
    summary.expect("win64", {"small", "switching", "refusing", "wide"});
    EXPECT_EQ("host:                         1 passed, 0 failed\n"
              "win64@small:                  2 passed, 2 failed, 1 skipped\n"
              "win64@switching:              0 passed, 2 failed\n"
              "win64@refusing:               0 passed, 0 failed\n"
              "rerun after Wine's own fault (its server spun while every other process waited "
              "on it): win64@small: small:Saver.Spun, passed on a fresh display\n"
              "skipped in win64@small: small:Saver.Old: Wine < 9 && no \"x\"\n"
              "FAILED win64@small: small:Saver.Hung (failed again after Wine's own fault: its "
              "server spun while every other process waited on it); rerun: ctest --preset "
              "win64 -R '^small:Saver\\.Hung$'\n"
              "FAILED win64@small: small:Saver.Missing (not run: Unable to find executable); "
              "rerun: ctest --preset win64 -R '^small:Saver\\.Missing$'\n"
              "FAILED win64@switching: switching:start (failed); rerun: ctest --preset "
              "win64 -R '^switching:start$'\n"
              "FAILED win64@switching: switching:E2E.Runs (not run: its fixture "
              "switching:start failed); rerun: ctest --preset win64 -R "
              "'^switching:E2E\\.Runs$'\n"
              "FAILED win64@refusing: the suite ran no test of its own\n"
              "FAILED win64@wide: the suite has no test\n"
              "Total: 3 passed, 4 failed, 1 skipped, 0 suites not run\n",
              summary.text());
    EXPECT_TRUE(summary.failed());
}

TEST(TestSummaryTest, ListsTheSuitesThatCannotRunAndFailsThemOnlyWhenAllAreRequired) {
    for (const bool requireAll : {false, true}) {
        TestSummary summary(requireAll);
        summary.addSuite("host", report(testcase("Flags.Parse", "run", "", "")), {}, {});
        summary.expect("win32", {"small", "refusing"});
        summary.notRun("win32", "no 32-bit kernel");
        summary.notRun("win64@installer's 32-bit passes",
                       "a 64-bit one stands in (no 32-bit kernel)");
        EXPECT_EQ(std::string("host:                         1 passed, 0 failed\n"
                              "not run: win32@small: no 32-bit kernel\n"
                              "not run: win32@refusing: no 32-bit kernel\n"
                              "not run: win64@installer's 32-bit passes: a 64-bit one stands in "
                              "(no 32-bit kernel)\n") +
                      (requireAll
                           ? "FAILED: PLOVIX_REQUIRE_ALL_SUITES=1, and 3 suites could not run\n"
                           : "") +
                      "Total: 1 passed, 0 failed, 0 skipped, 3 suites not run\n",
                  summary.text());
        EXPECT_EQ(requireAll, summary.failed());
    }
}

TEST(TestSummaryTest, NamesTheTestsToRunAgainAfterWinesOwnFaultsAndReadsCTestsListing) {
    EXPECT_EQ("^(small:A\\.b|refusing:C\\.d\\(x\\))$",
              TestSummary::wineFaultTests(report(testcase("small:A.b", "fail", "", SPUN) +
                                                 testcase("small:A.c", "fail", "", "crashed\n") +
                                                 testcase("refusing:C.d(x)", "fail", "", SPUN))));
    EXPECT_EQ("", TestSummary::wineFaultTests(report(testcase("small:A.b", "run", "", SPUN))));
    EXPECT_EQ((std::vector<std::string>{"small:start", "small:stop"}),
              TestSummary::listedTests("Test project /b/win64\n  Test  #1: small:start\n"
                                       "  Test #12: small:stop\n\nTotal Tests: 2\n"));
    EXPECT_THROW(JUnitReport::tests("No tests were found!!!\n"), std::runtime_error);
}

} // namespace
