#ifndef PLOVIX_TOOLS_TESTSUMMARY_JUNITREPORT_H
#define PLOVIX_TOOLS_TESTSUMMARY_JUNITREPORT_H

#include <string>
#include <vector>

namespace tools {
namespace testsummary {

// One test as CTest's JUnit report tells it.
struct TestResult {
    std::string name;
    // CTest's word for how it ended: run (passed), fail, notrun (skipped, or
    // never started) or disabled.
    std::string status;
    // CTest's reason for a test that did not run: "SKIP_RETURN_CODE=77",
    // "Fixture dependency failed", "Unable to find executable"...
    std::string message;
    std::string output;
};

// The tests of a report that `ctest --output-junit` wrote, in its order and
// with their text unescaped. CTest writes one fixed form (a testsuite of
// testcase elements, each with at most a skipped or failure element and its
// system-out), so that form is all that is read.
class JUnitReport {
public:
    // Throws std::runtime_error for a text that is not such a report or is
    // cut off.
    static std::vector<TestResult> tests(const std::string& xml);

private:
    static std::string _attribute(const std::string& tag, const std::string& name);
    static std::string _unescaped(const std::string& text);
};

} // namespace testsummary
} // namespace tools

#endif
