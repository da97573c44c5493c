#include "util/memory/Memory.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "support/ReportDirectory.h"

namespace {

bool failNextAllocation = false;

} // namespace

// Lets a test run Memory::duplicate out of memory. Successful allocations go
// to the ordinary operator so that the matching delete[] frees them.
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (failNextAllocation) {
        failNextAllocation = false;
        return nullptr;
    }
    try {
        return ::operator new[](size);
    } catch (...) {
        return nullptr;
    }
}

namespace {

using util::memory::Memory;

// A null source, a zero size or no memory left is reported, and nothing is
// read from or written to a buffer that is not there; the host build's
// sanitizers watch the accesses.
TEST(MemoryTest, CopiesEveryByteAndNeverTouchesAMissingBuffer) {
    support::ReportDirectory directory;
    const char text[] = "a\0b";
    const Memory::Buffer copy(Memory::duplicate(text, sizeof text));
    EXPECT_EQ(0, std::memcmp(text, copy.get(), sizeof text));
    Memory::release(Memory::duplicate(nullptr, 1));
    Memory::release(Memory::duplicate("x", 0));
    failNextAllocation = true;
    EXPECT_THROW(Memory::duplicate("abc", 4), std::bad_alloc);
    EXPECT_EQ((std::vector<std::string>{"src", "size > 0", "dup"}), directory.failedChecks());
}

} // namespace
