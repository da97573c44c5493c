#include <algorithm>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>

#include "fuzz/FuzzCheck.h"
#include "util/Assertion.h"

static std::string contents(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Input: the message and the file name, split at zero bytes, then the line
// number's bytes. The report printed and the one stored are alike: a rule,
// then message, file and line exactly as given, the time of the failure, and
// closing words that are the same for every report and end with the rule.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> parts = fuzz::split(data, size, 3);
    unsigned int line = 0;
    std::memcpy(&line, parts[2].data(), std::min(parts[2].size(), sizeof line));
    std::remove("assertion.txt");
    FUZZ_CHECK(std::freopen("printed.txt", "w", stdout) != nullptr);
    const std::time_t before = std::time(nullptr);
    util::assertionFailed(parts[0].c_str(), parts[1].c_str(), line);
    const std::time_t after = std::time(nullptr);

    const std::string report = contents("assertion.txt");
    const std::string rule(40, '-');
    const std::string head = rule + "\nAssertion failed. Message: " + parts[0] +
                             "\nFile: " + parts[1] + "\nLine: " + std::to_string(line) +
                             "\nOccurred: ";
    const std::string time = report.substr(std::min(report.size(), head.size()), 24);
    const std::string closing = report.substr(std::min(report.size(), head.size() + 24));
    static const std::string first = closing;
    const std::string end = "\n" + rule + "\n";
    FUZZ_CHECK(contents("printed.txt") == report && report.compare(0, head.size(), head) == 0);
    FUZZ_CHECK(time == util::assertionTimeText(before) || time == util::assertionTimeText(after));
    FUZZ_CHECK(closing == first && closing.compare(0, 2, "\n\n") == 0 &&
               closing.size() > end.size() &&
               closing.compare(closing.size() - end.size(), end.size(), end) == 0);
    return 0;
}
