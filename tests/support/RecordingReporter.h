#ifndef PLOVIX_TESTS_SUPPORT_RECORDINGREPORTER_H
#define PLOVIX_TESTS_SUPPORT_RECORDINGREPORTER_H

#include <functional>
#include <string>
#include <vector>

#include "app/MessageReporter.h"

namespace support {

// Keeps what the application tells the user instead of showing boxes, and
// lets a test look at the world at the moment of each report.
class RecordingReporter : public app::MessageReporter {
public:
    void reportError(const std::string& message) override {
        errors.push_back(message);
        if (onReport) {
            onReport();
        }
    }
    void reportSuccess(const std::string&) override {}
    void reportInformation(const std::string& message) override { information.push_back(message); }

    std::vector<std::string> errors;
    std::vector<std::string> information;
    std::function<void()> onReport;
};

} // namespace support

#endif
