#ifndef PLOVIX_TESTS_SUPPORT_WAITING_H
#define PLOVIX_TESTS_SUPPORT_WAITING_H

#include <windows.h>

#include <chrono>

namespace support {

// Tests wait for states, polling, with a bound.

inline long millisecondsSince(std::chrono::steady_clock::time_point start) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - start)
                                 .count());
}

// Polls `condition` until it holds or `milliseconds` have passed.
template <typename Condition>
bool waitUntil(Condition condition, long milliseconds = 10000) {
    const auto start = std::chrono::steady_clock::now();
    while (!condition()) {
        if (millisecondsSince(start) > milliseconds) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

} // namespace support

#endif
