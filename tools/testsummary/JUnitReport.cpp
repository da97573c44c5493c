#include "testsummary/JUnitReport.h"

#include <stdexcept>

namespace tools {
namespace testsummary {

namespace {

const std::string::size_type NONE = std::string::npos;

} // namespace

std::vector<TestResult> JUnitReport::tests(const std::string& xml) {
    if (xml.find("<testsuite") == NONE) {
        throw std::runtime_error("not a JUnit report");
    }
    std::vector<TestResult> tests;
    for (std::string::size_type at = xml.find("<testcase "); at != NONE;
         at = xml.find("<testcase ", at)) {
        const std::string::size_type tagEnd = xml.find('>', at);
        if (tagEnd == NONE) {
            throw std::runtime_error("the report is cut off");
        }
        TestResult test;
        const std::string tag = xml.substr(at, tagEnd - at);
        test.name = _attribute(tag, "name");
        test.status = _attribute(tag, "status");
        at = tagEnd + 1;
        const std::string::size_type end = xml.find("</testcase>", at);
        if (end == NONE) {
            throw std::runtime_error("the report is cut off");
        }
        const std::string body = xml.substr(at, end - at);
        at = end;
        // The output is escaped, so these tags cannot stand in it.
        for (const char* child : {"<skipped ", "<failure "}) {
            const std::string::size_type from = body.find(child);
            if (from != NONE) {
                test.message =
                    _attribute(body.substr(from, body.find('>', from) - from), "message");
            }
        }
        const std::string open = "<system-out>";
        const std::string::size_type output = body.find(open);
        if (output != NONE) {
            const std::string::size_type from = output + open.size();
            test.output = _unescaped(body.substr(from, body.find("</system-out>", from) - from));
        }
        tests.push_back(test);
    }
    return tests;
}

std::string JUnitReport::_attribute(const std::string& tag, const std::string& name) {
    const std::string key = " " + name + "=\"";
    const std::string::size_type from = tag.find(key);
    if (from == NONE) {
        return "";
    }
    const std::string::size_type start = from + key.size();
    return _unescaped(tag.substr(start, tag.find('"', start) - start));
}

std::string JUnitReport::_unescaped(const std::string& text) {
    // All that CTest escapes: it writes other control characters as words.
    static const char* const ENTITIES[][2] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
    std::string plain;
    std::string::size_type at = 0;
    for (std::string::size_type amp = text.find('&'); amp != NONE; amp = text.find('&', at)) {
        plain.append(text, at, amp - at);
        at = amp + 1;
        std::string replacement = "&";
        for (const auto& entity : ENTITIES) {
            const std::string name = entity[0];
            if (text.compare(amp, name.size(), name) == 0) {
                replacement = entity[1];
                at = amp + name.size();
            }
        }
        plain += replacement;
    }
    return plain.append(text, at, NONE);
}

} // namespace testsummary
} // namespace tools
