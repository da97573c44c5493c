#include "platform/errorresources/SystemErrors.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/ReportDirectory.h"

namespace {

using platform::errorresources::ErrorMapper;
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

class TableMapper : public ErrorMapper {
public:
    std::pair<bool, std::string> lookup(int errorCode) const override {
        if (errorCode == -1) {
            return {true, "All bits set"};
        }
        return {false, "ignored"};
    }
};

class ThrowingMapper : public ErrorMapper {
public:
    std::pair<bool, std::string> lookup(int) const override {
        throw std::runtime_error("lookup failed");
    }
};

TEST(SystemErrorsTest, KnownCodeGivesTheSystemTextUntrimmed) {
    const std::string text = systemText(ERROR_CLASS_ALREADY_EXISTS);
    ASSERT_FALSE(text.empty()) << "the system has no text for 1410";
    EXPECT_EQ("System error message: " + text, SystemErrors::map(ERROR_CLASS_ALREADY_EXISTS));
    // A known code never reaches the mapper.
    const ThrowingMapper mapper;
    EXPECT_EQ("System error message: " + text,
              SystemErrors::map(ERROR_CLASS_ALREADY_EXISTS, &mapper));
}

TEST(SystemErrorsTest, UnknownCodeIsNamedInSignedDecimal) {
    ASSERT_EQ("", systemText(0xFFFFFFFF));
    EXPECT_EQ("System error message: The string representation of the error code [-1] was not "
              "found.\r\n",
              SystemErrors::map(-1));
    EXPECT_EQ("System error message: The string representation of the error code [-1] was not "
              "found.\r\n",
              SystemErrors::map(static_cast<int>(0xFFFFFFFF), nullptr));
}

TEST(SystemErrorsTest, FallbackMapperIsAskedForUnknownCodes) {
    const TableMapper mapper;
    EXPECT_EQ("System error message: All bits set\r\n", SystemErrors::map(-1, &mapper));
    ASSERT_EQ("", systemText(0x7FFFFF00));
    EXPECT_EQ("System error message: The string representation of the error code [2147483392] "
              "was not found.\r\n",
              SystemErrors::map(0x7FFFFF00, &mapper));
}

TEST(SystemErrorsTest, FailureInsideIsReportedAndNeverEscapes) {
    support::ReportDirectory directory;
    const ThrowingMapper mapper;
    EXPECT_EQ("An unexpected exception was caught in static std::string SystemErrors::map(int "
              "errorCode, const ErrorMapper* fallbackErrors = 0) throw()\n",
              SystemErrors::map(-1, &mapper));
    EXPECT_EQ(std::vector<std::string>{"false"}, directory.failedChecks());
}

} // namespace
