#ifndef PLOVIX_TESTS_SUPPORT_REPORTDIRECTORY_H
#define PLOVIX_TESTS_SUPPORT_REPORTDIRECTORY_H

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace support {

// Makes a fresh temporary directory the current one for the life of a test,
// so that "assertion.txt" lands there and can be read back; restores the old
// directory and deletes the new one afterwards.
class ReportDirectory {
public:
    ReportDirectory()
        : _previous(std::filesystem::current_path()) {
        std::random_device random;
        _path = std::filesystem::temp_directory_path() /
                ("plovix-test-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(_path);
        std::filesystem::current_path(_path);
    }
    ~ReportDirectory() {
        std::error_code ignored;
        std::filesystem::current_path(_previous, ignored);
        std::filesystem::remove_all(_path, ignored);
    }
    ReportDirectory(const ReportDirectory&) = delete;
    ReportDirectory& operator=(const ReportDirectory&) = delete;

    const std::filesystem::path& path() const { return _path; }

    // The report file's bytes exactly as stored, or "" when there is none.
    std::string reportFile() const {
        std::ifstream in(_path / "assertion.txt", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // The condition texts of every report so far, in order.
    std::vector<std::string> failedChecks() const {
        std::vector<std::string> checks;
        std::istringstream lines(reportFile());
        const std::string label = "Assertion failed. Message: ";
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            if (line.compare(0, label.size(), label) == 0) {
                checks.push_back(line.substr(label.size()));
            }
        }
        return checks;
    }

private:
    std::filesystem::path _previous;
    std::filesystem::path _path;
};

} // namespace support

#endif
