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

const std::string SPUN = "watchdog: the Wine server spun while every other process waited on it\n";

TEST(TestSummaryTest, CountsEachSuiteAndNamesEveryTestThatDidNotPass) {
    TestSummary summary(false);
    const std::vector<std::string> fixtures = {"800x600:start", "800x600:stop"};
    summary.addSuite("host", report(testcase("Flags.Parse", "run", "", "")), {}, {});
    summary.addSuite(
        "win64@800x600",
        report(testcase("800x600:start", "run", "", "display 800x600: :1\n") +
               testcase("800x600:Saver.Runs", "run", "", "") +
               testcase("800x600:Saver.Old", "notrun",
                        "\t\t<skipped message=\"SKIP_RETURN_CODE=77\"/>\n",
                        "[ RUN      ] Saver.Old\nSaver.cpp:9: Skipped\nWine &lt; 9 &amp;&amp; no "
                        "&quot;x&quot;\n\n") +
               testcase("800x600:Saver.Hung", "fail", "\t\t<failure message=\"\"/>\n", SPUN) +
               testcase("800x600:Saver.Spun", "fail", "\t\t<failure message=\"\"/>\n", SPUN) +
               testcase("800x600:Saver.Missing", "notrun",
                        "\t\t<skipped message=\"Unable to find executable\"/>\n", "")),
        report(testcase("800x600:Saver.Spun", "run", "", "") +
               testcase("800x600:Saver.Hung", "fail", "\t\t<failure message=\"\"/>\n", SPUN)),
        fixtures);
    summary.addSuite("win64@switching-60hz",
                     report(testcase("switching-60hz:start", "fail",
                                     "\t\t<failure message=\"\"/>\n", "no Xorg\n") +
                            testcase("switching-60hz:E2E.Runs", "notrun",
                                     "\t\t<skipped message=\"Fixture dependency failed\"/>\n",
                                     "Failed test dependencies: switching-60hz:start")),
                     {}, {"switching-60hz:start"});
    summary.addSuite("win64@1024x768", report(testcase("1024x768:start", "run", "", "")), {},
                     {"1024x768:start"});
    summary.expect("win64", {"800x600", "switching-60hz", "1024x768", "two-monitors-left"});
    EXPECT_EQ("host:                         1 passed, 0 failed\n"
              "win64@800x600:                2 passed, 2 failed, 1 skipped\n"
              "win64@switching-60hz:         0 passed, 2 failed\n"
              "win64@1024x768:               0 passed, 0 failed\n"
              "rerun: Wine's server spun: win64@800x600: 800x600:Saver.Spun, passed on a fresh "
              "display and prefix\n"
              "skipped in win64@800x600: 800x600:Saver.Old: Wine < 9 && no \"x\"\n"
              "FAILED win64@800x600: 800x600:Saver.Hung (failed again after the Wine server spun); "
              "rerun: ctest --preset win64 -R '^800x600:Saver\\.Hung$'\n"
              "FAILED win64@800x600: 800x600:Saver.Missing (not run: Unable to find executable); "
              "rerun: ctest --preset win64 -R '^800x600:Saver\\.Missing$'\n"
              "FAILED win64@switching-60hz: switching-60hz:start (failed); rerun: ctest --preset "
              "win64 -R '^switching-60hz:start$'\n"
              "FAILED win64@switching-60hz: switching-60hz:E2E.Runs (not run: its fixture "
              "switching-60hz:start failed); rerun: ctest --preset win64 -R "
              "'^switching-60hz:E2E\\.Runs$'\n"
              "FAILED win64@1024x768: the suite ran no test of its own\n"
              "FAILED win64@two-monitors-left: the suite has no test\n"
              "Total: 3 passed, 4 failed, 1 skipped, 0 suites not run\n",
              summary.text());
    EXPECT_TRUE(summary.failed());
}

TEST(TestSummaryTest, ListsTheSuitesThatCannotRunAndFailsThemOnlyWhenAllAreRequired) {
    for (const bool requireAll : {false, true}) {
        TestSummary summary(requireAll);
        summary.addSuite("host", report(testcase("Flags.Parse", "run", "", "")), {}, {});
        summary.expect("win32", {"800x600", "1024x768"});
        summary.notRun("win32", "no 32-bit kernel");
        summary.notRun("win64@installer's 32-bit passes",
                       "a 64-bit one stands in (no 32-bit kernel)");
        EXPECT_EQ(std::string("host:                         1 passed, 0 failed\n"
                              "not run: win32@800x600: no 32-bit kernel\n"
                              "not run: win32@1024x768: no 32-bit kernel\n"
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

TEST(TestSummaryTest, NamesTheSpunTestsToRunAgainAndReadsCTestsListing) {
    EXPECT_EQ("^(800x600:A\\.b|1024x768:C\\.d\\(x\\))$",
              TestSummary::spunTests(report(testcase("800x600:A.b", "fail", "", SPUN) +
                                            testcase("800x600:A.c", "fail", "", "crashed\n") +
                                            testcase("1024x768:C.d(x)", "fail", "", SPUN))));
    EXPECT_EQ("", TestSummary::spunTests(report(testcase("800x600:A.b", "run", "", SPUN))));
    EXPECT_EQ((std::vector<std::string>{"800x600:start", "800x600:stop"}),
              TestSummary::listedTests("Test project /b/win64\n  Test  #1: 800x600:start\n"
                                       "  Test #12: 800x600:stop\n\nTotal Tests: 2\n"));
    EXPECT_THROW(JUnitReport::tests("No tests were found!!!\n"), std::runtime_error);
}

} // namespace
