#ifndef PLOVIX_TOOLS_TESTSUMMARY_TESTSUMMARY_H
#define PLOVIX_TOOLS_TESTSUMMARY_TESTSUMMARY_H

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "testsummary/JUnitReport.h"

namespace tools {
namespace testsummary {

// The test command's summary of its suites. A suite is named "BUILD" or
// "BUILD@LABEL", BUILD being the test preset that runs it: one count line
// each, the suites that cannot run here with why, the tests rerun after a
// fault of Wine's own, the skipped tests with their reasons and the failed
// ones with the line that reruns each, then the totals.
class TestSummary {
public:
    // Whether a suite that cannot run here fails the summary.
    explicit TestSummary(bool requireAllSuites);

    // One suite's tests. `rerun` holds the tests run again after a fault of
    // Wine's own (wineFaultTests), `fixtures` the names of the build's display fixtures,
    // which count only when they do not pass.
    void addSuite(const std::string& name, const std::vector<TestResult>& tests,
                  const std::vector<TestResult>& rerun, const std::vector<std::string>& fixtures);
    // The labels whose suites `build` must have, each with a test of its own.
    void expect(const std::string& build, const std::vector<std::string>& labels);
    // A suite that cannot run here, with why; a bare build name stands for
    // each of its expected suites.
    void notRun(const std::string& suite, const std::string& cause);

    std::string text() const;
    bool failed() const;

    // A CTest regular expression for the failed tests of `tests` whose
    // output names a fault of Wine's own after PLOVIX_WINE_FAULT_MARK, to be
    // run once more; empty when there are none.
    static std::string wineFaultTests(const std::vector<TestResult>& tests);
    // The test names in the listing of `ctest -N`.
    static std::vector<std::string> listedTests(const std::string& listing);

private:
    struct Suite {
        std::string name;
        int passed;
        int failed;
        int skipped;
    };

    void _fail(Suite& suite, const std::string& test, const std::string& why);
    std::vector<std::string> _notRunLines() const;
    std::vector<std::string> _missingSuites() const;

    bool _requireAllSuites;
    std::vector<Suite> _suites;
    std::vector<std::string> _reruns;
    std::vector<std::string> _skips;
    std::vector<std::string> _failures;
    std::map<std::string, std::vector<std::string>> _expected;
    std::vector<std::pair<std::string, std::string>> _notRun;
};

} // namespace testsummary
} // namespace tools

#endif
