#ifndef PLOVIX_TESTS_SUPPORT_WAITING_H
#define PLOVIX_TESTS_SUPPORT_WAITING_H

#include <windows.h>

#include <chrono>

#include "timeouts/Timeouts.h"

namespace support {

// Polls `condition` until it holds or `milliseconds` have passed: tests wait
// for states, never for guessed times.
template <typename Condition>
bool waitUntil(Condition condition, long milliseconds = timeouts::WAIT_MS) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

} // namespace support

#endif
