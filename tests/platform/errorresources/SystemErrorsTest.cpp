#include "platform/errorresources/SystemErrors.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

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

// Knows the code -1 only; throws when asked to.
class Mapper : public platform::errorresources::ErrorMapper {
public:
    std::pair<bool, std::string> lookup(int errorCode) const override {
        if (fails) {
            throw std::runtime_error("lookup failed");
        }
        return {errorCode == -1, "All bits set"};
    }
    bool fails = false;
};

const std::string NOT_FOUND = "System error message: The string representation of the error code [";

TEST(SystemErrorsTest, KnownCodeGivesTheSystemTextUntrimmedAndNeverAsksTheMapper) {
    const std::string text = systemText(ERROR_CLASS_ALREADY_EXISTS);
    ASSERT_FALSE(text.empty()) << "the system has no text for 1410";
    Mapper failing;
    failing.fails = true;
    EXPECT_EQ("System error message: " + text, SystemErrors::map(ERROR_CLASS_ALREADY_EXISTS));
    EXPECT_EQ("System error message: " + text,
              SystemErrors::map(ERROR_CLASS_ALREADY_EXISTS, &failing));
}

TEST(SystemErrorsTest, UnknownCodeIsNamedInSignedDecimalUnlessTheMapperKnowsIt) {
    ASSERT_EQ("", systemText(0xFFFFFFFF));
    ASSERT_EQ("", systemText(0x7FFFFF00));
    const Mapper mapper;
    EXPECT_EQ(NOT_FOUND + "-1] was not found.\r\n", SystemErrors::map(-1));
    EXPECT_EQ("System error message: All bits set\r\n", SystemErrors::map(-1, &mapper));
    EXPECT_EQ(NOT_FOUND + "2147483392] was not found.\r\n", SystemErrors::map(0x7FFFFF00, &mapper));
}

TEST(SystemErrorsTest, FailureInsideIsReportedAndNeverEscapes) {
    support::ReportDirectory directory;
    Mapper failing;
    failing.fails = true;
    EXPECT_EQ("An unexpected exception was caught in static std::string SystemErrors::map(int "
              "errorCode, const ErrorMapper* fallbackErrors = 0) throw()\n",
              SystemErrors::map(-1, &failing));
    EXPECT_EQ(std::vector<std::string>{"false"}, directory.failedChecks());
}

} // namespace
