#include "platform/errorresources/SystemErrors.h"

#include <gtest/gtest.h>

namespace {

using platform::errorresources::SystemErrors;

// A code the system has no text for is named, signed, on a line of its own.
TEST(SystemErrorsTest, UnknownCodeIsNamedInSignedDecimal) {
    EXPECT_EQ("System error message: The string representation of the error code [-1] was not "
              "found.\r\n",
              SystemErrors::map(-1));
}

} // namespace
