#include "platform/errorresources/SystemErrors.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

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

TEST(SystemErrorsTest, KnownCodeGivesTheSystemTextUntrimmed) {
    const std::string text = systemText(ERROR_CLASS_ALREADY_EXISTS);
    ASSERT_FALSE(text.empty()) << "the system has no text for 1410";
    EXPECT_EQ("System error message: " + text, SystemErrors::map(ERROR_CLASS_ALREADY_EXISTS));
}

TEST(SystemErrorsTest, UnknownCodeIsNamedInSignedDecimal) {
    ASSERT_EQ("", systemText(0xFFFFFFFF));
    EXPECT_EQ("System error message: The string representation of the error code [-1] was not "
              "found.\r\n",
              SystemErrors::map(-1));
}

} // namespace
