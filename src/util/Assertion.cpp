#include "util/Assertion.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdio>
#include <cstdlib>
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

bool appendTo(const std::string& path, const std::string& report) {
    // Text mode on purpose: the file is meant to be opened in Notepad, so line
    // ends become CR LF on Windows.
    std::FILE* out = std::fopen(path.c_str(), "a");
    if (out == nullptr) {
        return false;
    }
    const bool written = std::fwrite(report.data(), 1, report.size(), out) == report.size();
    return std::fclose(out) == 0 && written;
}

// The user's folder for temporary files, ending in a separator, or "".
std::string temporaryFolder() {
#ifdef _WIN32
    char folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof folder, folder);
    return length > 0 && length < sizeof folder ? std::string(folder, length) : std::string();
#else
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") + "/";
#endif
}

// The system often starts a saver in its own folder, which a user cannot
// write; the temporary folder is the user's own.
void appendToReportFile(const std::string& report) {
    if (!appendTo(REPORT_FILE, report)) {
        const std::string folder = temporaryFolder();
        if (!folder.empty()) {
            appendTo(folder + REPORT_FILE, report);
        }
    }
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
