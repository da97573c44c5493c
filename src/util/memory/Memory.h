#ifndef PLOVIX_UTIL_MEMORY_MEMORY_H
#define PLOVIX_UTIL_MEMORY_MEMORY_H

#include <cstring>
#include <memory>
#include <new>

#include "util/Assertion.h"

namespace util {
namespace memory {

// Copies of raw byte buffers for code that hands C-style arrays around.
// Buffers come from new[] and go back through Memory::release.
class Memory {
public:
    Memory() = delete;

    // A new buffer of exactly `size` bytes holding a copy of `src`. Throws
    // std::bad_alloc (after reporting the check) when no memory is left; a
    // missing buffer is never written to.
    static char* duplicate(const char* src, unsigned int size) {
        PLOVIX_CHECK(src);
        PLOVIX_CHECK(size > 0);
        char* dup = new (std::nothrow) char[size];
        PLOVIX_CHECK(dup);
        if (dup == nullptr) {
            throw std::bad_alloc();
        }
        if (src != nullptr && size > 0) {
            std::memcpy(dup, src, size);
        }
        return dup;
    }

    static void release(char* buffer) noexcept { delete[] buffer; }

    struct Release {
        void operator()(char* buffer) const noexcept { Memory::release(buffer); }
    };
    // Owns a buffer made by duplicate until it is handed on.
    using Buffer = std::unique_ptr<char[], Release>;
};

} // namespace memory
} // namespace util

#endif
