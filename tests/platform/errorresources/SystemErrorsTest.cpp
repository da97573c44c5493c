#include "platform/errorresources/SystemErrors.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "support/ReportDirectory.h"

namespace {

using platform::errorresources::SystemErrors;

// The system's own text for a code, asked the same way, so that the tests
// hold for Windows' wording and for Wine's.
std::string systemText(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&text), 0,
        nullptr);
    const std::string result = length > 0 ? std::string(text, length) : std::string();
    LocalFree(text);
    return result;
}

// A fallback that throws, standing for anything that fails inside the mapping.
class FailingMapper : public platform::errorresources::ErrorMapper {
public:
    std::pair<bool, std::string> lookup(int) const override {
        throw std::runtime_error("lookup failed");
    }
};

TEST(SystemErrorsTest, KnownCodeGivesTheSystemTextUntrimmedAndNeverAsksTheMapper) {
    const std::string text = systemText(ERROR_CLASS_ALREADY_EXISTS);
    ASSERT_FALSE(text.empty()) << "the system has no text for 1410";
    const FailingMapper failing;
    EXPECT_EQ("System error message: " + text,
              SystemErrors::map(ERROR_CLASS_ALREADY_EXISTS, &failing));
}

TEST(SystemErrorsTest, UnknownCodeIsNamedInSignedDecimal) {
    ASSERT_EQ("", systemText(0xFFFFFFFF));
    EXPECT_EQ("System error message: The string representation of the error code [-1] was not "
              "found.\r\n",
              SystemErrors::map(-1));
}

TEST(SystemErrorsTest, FailureInsideIsReportedAndNeverEscapes) {
    support::ReportDirectory directory;
    const FailingMapper failing;
    EXPECT_EQ("An unexpected exception was caught in static std::string SystemErrors::map(int "
              "errorCode, const ErrorMapper* fallbackErrors = 0) throw()\n",
              SystemErrors::map(-1, &failing));
    EXPECT_EQ(std::vector<std::string>{"false"}, directory.failedChecks());
}

} // namespace
