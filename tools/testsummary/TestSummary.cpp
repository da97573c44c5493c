#include "testsummary/TestSummary.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tools {
namespace testsummary {

namespace {

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool startsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::string::size_type at = 0, end = 0; at < text.size(); at = end + 1) {
        end = std::min(text.find('\n', at), text.size());
        lines.push_back(text.substr(at, end - at));
    }
    return lines;
}

// A test name as a CTest regular expression matches it.
std::string escaped(const std::string& name) {
    const std::string special = "[](){}.*+?^$|\\";
    std::string pattern;
    for (const char c : name) {
        if (special.find(c) != std::string::npos) {
            pattern += '\\';
        }
        pattern += c;
    }
    return pattern;
}

// A test that was not run because it said so: by its exit code
// (SKIP_RETURN_CODE) or its output (SKIP_REGULAR_EXPRESSION), or because it is
// disabled. Any other test that did not run (its fixture failed, its program
// is missing) failed.
bool isSkip(const TestResult& test) {
    return test.status == "disabled" ||
           (test.status == "notrun" && startsWith(test.message, "SKIP_"));
}

// GoogleTest prints the reason of a skip on the line after "...: Skipped".
std::string skipReason(const TestResult& test) {
    const std::vector<std::string> lines = linesOf(test.output);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (endsWith(lines[i], ": Skipped") && !lines[i + 1].empty()) {
            return lines[i + 1];
        }
    }
    return test.status == "disabled" ? "disabled" : test.message;
}

// The fault of Wine's own that a failed test's output names, on a line of
// its own after the mark; empty when it names none.
std::string wineFault(const TestResult& test) {
    if (test.status == "fail") {
        for (const std::string& line : linesOf(test.output)) {
            if (startsWith(line, PLOVIX_WINE_FAULT_MARK) &&
                line.size() > std::strlen(PLOVIX_WINE_FAULT_MARK)) {
                return line.substr(std::strlen(PLOVIX_WINE_FAULT_MARK));
            }
        }
    }
    return "";
}

// Why a test that neither passed nor skipped failed.
std::string whyFailed(const TestResult& test) {
    if (test.status == "fail") {
        return "failed";
    }
    const std::string dependencies = "Failed test dependencies: ";
    const std::string::size_type at = test.output.find(dependencies);
    if (test.message == "Fixture dependency failed" && at != std::string::npos) {
        const std::string fixture = test.output.substr(at + dependencies.size());
        return "not run: its fixture " + fixture.substr(0, fixture.find('\n')) + " failed";
    }
    return "not run: " + (test.message.empty() ? test.status : test.message);
}

} // namespace

TestSummary::TestSummary(bool requireAllSuites)
    : _requireAllSuites(requireAllSuites) {}

void TestSummary::addSuite(const std::string& name, const std::vector<TestResult>& tests,
                           const std::vector<TestResult>& rerun,
                           const std::vector<std::string>& fixtures) {
    Suite suite{name, 0, 0, 0};
    for (const TestResult& test : tests) {
        const std::string fault = wineFault(test);
        if (test.status == "run") {
            suite.passed += contains(fixtures, test.name) ? 0 : 1;
        } else if (isSkip(test)) {
            ++suite.skipped;
            _skips.push_back(name + ": " + test.name + ": " + skipReason(test));
        } else if (fault.empty()) {
            _fail(suite, test.name, whyFailed(test));
        } else if (std::any_of(rerun.begin(), rerun.end(), [&](const TestResult& again) {
                       return again.name == test.name && again.status == "run";
                   })) {
            ++suite.passed;
            _reruns.push_back("rerun after Wine's own fault (" + fault + "): " + name + ": " +
                              test.name + ", passed on a fresh display");
        } else {
            _fail(suite, test.name, "failed again after Wine's own fault: " + fault);
        }
    }
    if (suite.passed == 0 && suite.failed == 0) {
        _failures.push_back(name + ": the suite ran no test of its own");
    }
    _suites.push_back(suite);
}

void TestSummary::_fail(Suite& suite, const std::string& test, const std::string& why) {
    ++suite.failed;
    _failures.push_back(suite.name + ": " + test + " (" + why + "); rerun: ctest --preset " +
                        suite.name.substr(0, suite.name.find('@')) + " -R '^" + escaped(test) +
                        "$'");
}

void TestSummary::expect(const std::string& build, const std::vector<std::string>& labels) {
    _expected[build] = labels;
}

void TestSummary::notRun(const std::string& suite, const std::string& cause) {
    _notRun.emplace_back(suite, cause);
}

std::vector<std::string> TestSummary::_notRunLines() const {
    std::vector<std::string> lines;
    for (const auto& suite : _notRun) {
        const auto expected = _expected.find(suite.first);
        if (expected == _expected.end()) {
            lines.push_back(suite.first + ": " + suite.second);
            continue;
        }
        for (const std::string& label : expected->second) {
            lines.push_back(suite.first + "@" + label + ": " + suite.second);
        }
    }
    return lines;
}

std::vector<std::string> TestSummary::_missingSuites() const {
    std::vector<std::string> missing;
    for (const auto& build : _expected) {
        if (std::any_of(_notRun.begin(), _notRun.end(),
                        [&](const auto& suite) { return suite.first == build.first; })) {
            continue;
        }
        for (const std::string& label : build.second) {
            const std::string name = build.first + "@" + label;
            if (std::none_of(_suites.begin(), _suites.end(),
                             [&](const Suite& suite) { return suite.name == name; })) {
                missing.push_back(name + ": the suite has no test");
            }
        }
    }
    return missing;
}

std::string TestSummary::text() const {
    std::string text;
    Suite total{"", 0, 0, 0};
    for (const Suite& suite : _suites) {
        char counts[80];
        std::snprintf(counts, sizeof counts, " %4d passed, %d failed", suite.passed, suite.failed);
        text += suite.name + ":" +
                std::string(std::max<std::size_t>(25, suite.name.size()) - suite.name.size(), ' ') +
                counts;
        text += suite.skipped > 0 ? ", " + std::to_string(suite.skipped) + " skipped\n" : "\n";
        total.passed += suite.passed;
        total.failed += suite.failed;
        total.skipped += suite.skipped;
    }
    const std::vector<std::string> notRun = _notRunLines();
    for (const std::string& line : notRun) {
        text += "not run: " + line + "\n";
    }
    // A machine that must prove every build fails on any suite left out.
    if (_requireAllSuites && !notRun.empty()) {
        text += "FAILED: PLOVIX_REQUIRE_ALL_SUITES=1, and " + std::to_string(notRun.size()) +
                " suites could not run\n";
    }
    for (const std::string& line : _reruns) {
        text += line + "\n";
    }
    for (const std::string& line : _skips) {
        text += "skipped in " + line + "\n";
    }
    std::vector<std::string> failures = _failures;
    for (const std::string& line : _missingSuites()) {
        failures.push_back(line);
    }
    for (const std::string& line : failures) {
        text += "FAILED " + line + "\n";
    }
    char totals[120];
    std::snprintf(totals, sizeof totals,
                  "Total: %d passed, %d failed, %d skipped, %zu suites not run\n", total.passed,
                  total.failed, total.skipped, notRun.size());
    return text + totals;
}

bool TestSummary::failed() const {
    return std::any_of(_suites.begin(), _suites.end(),
                       [](const Suite& suite) { return suite.failed > 0; }) ||
           !_failures.empty() || !_missingSuites().empty() ||
           (_requireAllSuites && !_notRunLines().empty());
}

std::string TestSummary::wineFaultTests(const std::vector<TestResult>& tests) {
    std::string pattern;
    for (const TestResult& test : tests) {
        if (!wineFault(test).empty()) {
            pattern += (pattern.empty() ? "" : "|") + escaped(test.name);
        }
    }
    return pattern.empty() ? "" : "^(" + pattern + ")$";
}

std::vector<std::string> TestSummary::listedTests(const std::string& listing) {
    // "  Test  #12: DISPLAY:start"
    std::vector<std::string> names;
    for (const std::string& line : linesOf(listing)) {
        const std::string::size_type start = line.find_first_not_of(' ');
        const std::string::size_type colon = line.find(": ");
        if (start != std::string::npos && startsWith(line.substr(start), "Test") &&
            line.find('#') < colon && colon != std::string::npos) {
            names.push_back(line.substr(colon + 2));
        }
    }
    return names;
}

} // namespace testsummary
} // namespace tools
