#ifndef PLOVIX_TESTS_SUPPORT_USERINPUT_H
#define PLOVIX_TESTS_SUPPORT_USERINPUT_H

#include <windows.h>

#include <chrono>

namespace support {

// What a user does, injected as the hardware would: a key or the left button
// pressed and released, the pointer moved.
inline void key(WORD virtualKey) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = virtualKey;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
}

inline void click() {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof input[0]);
}

// Each move goes to the other of two points, so none is dropped as no move.
// Absolute positions run from 0 to 65535 across the screen.
inline void moveMouse(int index) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (300 + (index % 2) * 20) * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = 300 * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

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
