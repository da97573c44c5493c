#include "exceptions/Exception.h"

#include <gtest/gtest.h>

#include "exceptions/NumberFormatException.h"

namespace {

// The entry and the guards catch the root type only and show its text as the
// thrower wrote it; what they get is a copy of the object thrown.
TEST(ExceptionTest, RootHandlerGetsTheThrownText) {
    try {
        throw exceptions::NumberFormatException("[abc]\n");
    } catch (const exceptions::Exception& e) {
        EXPECT_EQ("[abc]\n", e.getMessage());
    }
}

} // namespace
