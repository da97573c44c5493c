#include <gtest/gtest.h>

#include "exceptions/IllegalArgumentException.h"
#include "exceptions/NumberFormatException.h"
#include "util/parser/CommandLineConverterException.h"

namespace {

using exceptions::Exception;
using exceptions::IllegalArgumentException;
using exceptions::NumberFormatException;
using exceptions::RuntimeException;
using util::parser::CommandLineConverterException;

// Which of the catch types a thrown object reaches, tried from the narrowest.
template <typename Thrown>
std::string caughtAs(const Thrown& thrown) {
    try {
        try {
            try {
                throw thrown;
            } catch (const IllegalArgumentException& e) {
                return "IllegalArgumentException:" + e.getMessage();
            }
        } catch (const RuntimeException& e) {
            return "RuntimeException:" + e.getMessage();
        }
    } catch (const Exception& e) {
        return "Exception:" + e.getMessage();
    }
}

TEST(ExceptionTest, HandlersCatchExactlyTheirBranchOfTheHierarchy) {
    EXPECT_EQ("IllegalArgumentException:bad flag", caughtAs(IllegalArgumentException("bad flag")));
    EXPECT_EQ("IllegalArgumentException:quote", caughtAs(CommandLineConverterException("quote")));
    // A bad number is not an illegal argument, and not a runtime exception.
    EXPECT_EQ("Exception:[abc]", caughtAs(NumberFormatException("[abc]")));
    EXPECT_EQ("Exception:", caughtAs(NumberFormatException("")));
}

} // namespace
