#include "util/Assertion.h"

#include <cstddef>
#include <cstdio>
#include <ctime>
#include <string>

namespace util {

namespace {

const char* const REPORT_FILE = "assertion.txt";
const char* const RULE = "----------------------------------------";

std::string composeReport(const char* message, const char* file, unsigned int line) {
    char number[16];
    std::snprintf(number, sizeof number, "%u", line);
    return std::string(RULE) + "\nAssertion failed. Message: " + message + "\nFile: " + file +
           "\nLine: " + number + "\nOccurred: " + assertionTimeText(std::time(nullptr)) +
           "\n\nPlease contact the developers and include this message.\n"
           "Thank you for helping us improve the software.\n" +
           RULE + "\n";
}

void appendToReportFile(const std::string& report) {
    // Text mode on purpose: the file is meant to be opened in Notepad, so line
    // ends become CR LF on Windows.
    std::FILE* out = std::fopen(REPORT_FILE, "a");
    if (out == nullptr) {
        return;
    }
    std::fwrite(report.data(), 1, report.size(), out);
    std::fclose(out);
}

} // namespace

std::string assertionTimeText(std::time_t when) {
    // asctime pads the day with a blank in some C libraries and with a zero in
    // others; the report always uses the zero, so the text is built here.
    const std::tm* local = std::localtime(&when);
    if (local == nullptr) {
        return std::string();
    }
    char text[32] = {};
    const std::size_t length = std::strftime(text, sizeof text, "%a %b %d %H:%M:%S %Y", local);
    return std::string(text, length);
}

void assertionFailed(const char* message, const char* file, unsigned int line) noexcept {
    try {
        const std::string report =
            composeReport(message != nullptr ? message : "", file != nullptr ? file : "", line);
        std::fwrite(report.data(), 1, report.size(), stdout);
        std::fflush(stdout);
        appendToReportFile(report);
    } catch (...) {
        // Out of memory while composing: there is nothing sensible left to
        // report with, and the caller must carry on.
    }
}

} // namespace util
