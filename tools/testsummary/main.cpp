// plovix-testsummary [OPTION]... SUITE=REPORT...
//   The test command's summary, read from CTest's JUnit reports: a REPORT
//   (ctest --output-junit) for each SUITE, "BUILD" or "BUILD@LABEL", BUILD
//   being the test preset that ran it, in the order they are listed. When a
//   suite's tests that failed by a fault of Wine's own ran again, those runs'
//   reports lie beside its own: NAME.rerun1.xml, NAME.rerun2.xml... beside
//   NAME.xml, a test passing in any of them. Prints the summary;
//   exit code 1 when a test or a suite failed, 2 for a bad command line.
//   PLOVIX_REQUIRE_ALL_SUITES=1 in the environment fails any suite that
//   cannot run here.
//
//   --fixtures BUILD=LISTING  the display fixtures of BUILD, which count only
//                             when they fail: ctest -N -L '^fixture$' lists them
//   --expected BUILD=FILE     the labels whose suites BUILD must have, one a line
//   --not-run SUITE=CAUSE     a suite that cannot run here, with why; a bare
//                             BUILD stands for each of its expected suites
//
// plovix-testsummary --wine-faults REPORT
//   Prints a CTest regular expression for the failed tests of REPORT whose
//   output names a fault of Wine's own, to be run once more; nothing when
//   there are none.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "testsummary/JUnitReport.h"
#include "testsummary/TestSummary.h"
#include "util/Helpers.h"

namespace {

using tools::testsummary::JUnitReport;
using tools::testsummary::TestResult;
using tools::testsummary::TestSummary;
using util::readFile;

// The tests of a report; none, and false, when it cannot be read.
bool readReport(const std::string& path, std::vector<TestResult>& tests) {
    std::string xml;
    if (!readFile(path, xml)) {
        return false;
    }
    try {
        tests = JUnitReport::tests(xml);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "plovix-testsummary: %s: %s\n", path.c_str(), e.what());
        return false;
    }
    return true;
}

std::vector<std::string> linesIn(const std::string& text) {
    std::vector<std::string> lines;
    for (std::string::size_type at = 0, end = 0; at < text.size(); at = end + 1) {
        end = std::min(text.find('\n', at), text.size());
        if (end > at) {
            lines.push_back(text.substr(at, end - at));
        }
    }
    return lines;
}

int usage() {
    std::fputs("usage: plovix-testsummary [--fixtures BUILD=LISTING] [--expected BUILD=FILE]"
               " [--not-run SUITE=CAUSE]... SUITE=REPORT...\n"
               "       plovix-testsummary --wine-faults REPORT\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() == 2 && arguments[0] == "--wine-faults") {
        std::vector<TestResult> tests;
        readReport(arguments[1], tests);
        const std::string pattern = TestSummary::wineFaultTests(tests);
        if (!pattern.empty()) {
            std::printf("%s\n", pattern.c_str());
        }
        return 0;
    }
    const char* const requireAll = std::getenv("PLOVIX_REQUIRE_ALL_SUITES");
    TestSummary summary(requireAll != nullptr && std::string(requireAll) == "1");
    std::map<std::string, std::vector<std::string>> fixtures;
    std::vector<std::pair<std::string, std::string>> suites;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string kind;
        if (arguments[i].compare(0, 2, "--") == 0) {
            if (i + 1 == arguments.size()) {
                return usage();
            }
            kind = arguments[i++];
        }
        const std::string& argument = arguments[i];
        const std::string::size_type equals = argument.find('=');
        if (equals == 0 || equals == std::string::npos) {
            return usage();
        }
        const std::string name = argument.substr(0, equals);
        const std::string value = argument.substr(equals + 1);
        std::string text;
        if (kind.empty()) {
            suites.emplace_back(name, value);
        } else if (kind == "--not-run") {
            summary.notRun(name, value);
        } else if (kind != "--fixtures" && kind != "--expected") {
            return usage();
        } else if (!readFile(value, text)) {
            std::fprintf(stderr, "plovix-testsummary: cannot read %s\n", value.c_str());
            return 1;
        } else if (kind == "--fixtures") {
            fixtures[name] = TestSummary::listedTests(text);
        } else {
            summary.expect(name, linesIn(text));
        }
    }
    if (suites.empty()) {
        return usage();
    }
    for (const auto& suite : suites) {
        std::vector<TestResult> tests;
        if (!readReport(suite.second, tests)) {
            std::fprintf(stderr, "plovix-testsummary: %s has no report (%s)\n", suite.first.c_str(),
                         suite.second.c_str());
        }
        // The runs again, in turn: NAME.rerun1.xml, NAME.rerun2.xml...
        std::vector<TestResult> rerun;
        std::vector<TestResult> again;
        const std::string stem = suite.second.substr(0, suite.second.rfind(".xml"));
        for (int round = 1; readReport(stem + ".rerun" + std::to_string(round) + ".xml", again);
             ++round) {
            rerun.insert(rerun.end(), again.begin(), again.end());
        }
        const std::string build = suite.first.substr(0, suite.first.find('@'));
        summary.addSuite(suite.first, tests, rerun, fixtures[build]);
    }
    std::fputs(summary.text().c_str(), stdout);
    return summary.failed() ? 1 : 0;
}
