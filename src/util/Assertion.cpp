#include "util/Assertion.h"

#include <cstdio>
#include <iostream>
#include <sstream>

namespace util {

namespace {

const char* const REPORT_FILE = "assertion.txt";
const char* const RULE = "----------------------------------------";

std::string composeReport(const char* message, const char* file, unsigned int line) {
    std::ostringstream report;
    report << RULE << '\n' << std::flush;
    report << "Assertion failed. Message: " << message << '\n' << std::flush;
    report << "File: " << file << '\n' << std::flush;
    report << "Line: " << line << '\n' << std::flush;
    report << "Occurred: " << assertionTimeText(std::time(nullptr)) << '\n' << '\n' << std::flush;
    report << "Please contact "
           << "the developers"
           << " and include this message." << '\n'
           << std::flush;
    report << "Thank you for helping us improve the software." << '\n' << std::flush;
    report << RULE << '\n' << std::flush;
    return report.str();
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
        std::cout.write(report.data(), static_cast<std::streamsize>(report.size()));
        std::cout.flush();
        std::cout.clear();
        appendToReportFile(report);
    } catch (...) {
        // Out of memory while composing: there is nothing sensible left to
        // report with, and the caller must carry on.
    }
}

} // namespace util
