#ifndef PLOVIX_TESTS_SUPPORT_SAVERPROCESS_H
#define PLOVIX_TESTS_SUPPORT_SAVERPROCESS_H

#include <windows.h>

#include <chrono>
#include <limits>
#include <string>

#include "previewhost/ChildProcess.h"
#include "support/Waiting.h"

namespace support {

using SaverProcess = tools::previewhost::ChildProcess;

// The command line that starts the built saver with the given arguments.
inline std::string saverCommand(const std::string& arguments) {
    return "\"" + SaverProcess::besideThisProgram("Plovix.scr") + "\"" +
           (arguments.empty() ? "" : " " + arguments);
}

// The visible top-level window of the given class that `process` shows,
// waiting up to `milliseconds` for it; null if there is none. Windows of the
// same class that other processes show do not count.
inline HWND waitForWindow(const SaverProcess& process, const char* className,
                          int milliseconds = timeouts::WAIT_MS) {
    for (int waited = 0; waited <= milliseconds; waited += 10) {
        for (HWND window = FindWindowExA(nullptr, nullptr, className, nullptr); window != nullptr;
             window = FindWindowExA(nullptr, window, className, nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == process.id() && IsWindowVisible(window)) {
                return window;
            }
        }
        Sleep(10);
    }
    return nullptr;
}

// The time the saver's first thread, the one that runs its message loop, has
// spent on a processor so far, in milliseconds; 0 when it cannot be read.
inline double loopProcessorMs(const SaverProcess& saver) {
    FILETIME created = {};
    FILETIME exited = {};
    FILETIME kernel = {};
    FILETIME user = {};
    if (GetThreadTimes(saver.mainThread(), &created, &exited, &kernel, &user) == 0) {
        return 0;
    }
    const auto ms = [](const FILETIME& time) {
        return static_cast<double>((ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime) /
               10000.0;
    };
    return ms(kernel) + ms(user);
}

// An idle run wakes for the blink and little else: its loop takes well under
// 1 % of a processor, where a loop that stopped waiting takes all it gets. A
// tenth leaves a wide margin on a loaded machine.
const double IDLE_LOOP_SHARE = 0.1;

// The share of `elapsed` that the saver's loop spent on a processor since it
// had spent `before` milliseconds (loopProcessorMs); infinite, a share no
// idle loop has, when a reading is not real. Read after the first paint, a
// real reading is never 0, which is also what Wine answers when it cannot
// read a thread's times.
inline double loopShare(const SaverProcess& saver, double before,
                        std::chrono::steady_clock::duration elapsed) {
    const double after = loopProcessorMs(saver);
    if (before <= 0 || after <= 0) {
        return std::numeric_limits<double>::infinity();
    }
    const double elapsedMs =
        std::chrono::duration_cast<std::chrono::duration<double, std::milli>>(elapsed).count();
    return (after - before) / elapsedMs;
}

// Gives `input` again and again until `saver` has ended, for up to 10 s:
// input goes where the pointer or the focus is, which a new window may not
// have yet.
template <typename Input>
void endWith(SaverProcess& saver, Input input) {
    waitUntil([&] {
        input();
        return saver.waitForExit(100) != SaverProcess::STILL_RUNNING;
    });
}

} // namespace support

#endif
