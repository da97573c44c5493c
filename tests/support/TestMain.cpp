// The entry of every test program. CTest runs one test a process and tells a
// skipped test by this exit code alone, so that a test that prints that it
// skips and then crashes or hangs is a failure, not a skip.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    const ::testing::UnitTest& tests = *::testing::UnitTest::GetInstance();
    if (result == 0 && tests.skipped_test_count() > 0 && tests.successful_test_count() == 0) {
        return PLOVIX_TEST_SKIPPED_CODE;
    }
    return result;
}
