#ifndef PLOVIX_TESTS_SUPPORT_SAVERPROCESS_H
#define PLOVIX_TESTS_SUPPORT_SAVERPROCESS_H

#include <windows.h>

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
                          int milliseconds = 10000) {
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
