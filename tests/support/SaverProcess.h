#ifndef PLOVIX_TESTS_SUPPORT_SAVERPROCESS_H
#define PLOVIX_TESTS_SUPPORT_SAVERPROCESS_H

#include <windows.h>

#include <string>

#include "previewhost/ChildProcess.h"

namespace support {

using SaverProcess = tools::previewhost::ChildProcess;

namespace detail {

struct WindowSearch {
    DWORD process;
    const char* className;
    HWND found;
};

inline BOOL CALLBACK findProcessWindow(HWND window, LPARAM search) {
    WindowSearch& wanted = *reinterpret_cast<WindowSearch*>(search);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[256] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == wanted.process && std::string(className) == wanted.className &&
        IsWindowVisible(window)) {
        wanted.found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace detail

// The visible top-level window of the given class that `process` shows,
// waiting up to `milliseconds` for it; null if there is none. Windows of the
// same class that other processes show do not count.
inline HWND waitForWindow(const SaverProcess& process, const char* className,
                          int milliseconds = 10000) {
    for (int waited = 0; waited <= milliseconds; waited += 10) {
        detail::WindowSearch search{process.id(), className, nullptr};
        EnumWindows(detail::findProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        Sleep(10);
    }
    return nullptr;
}

// The path of a file in the folder of the running test program.
inline std::string besideThisProgram(const std::string& name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program = path;
    return program.substr(0, program.find_last_of("\\/") + 1) + name;
}

inline COLORREF screenPixel(int x, int y) {
    const HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

} // namespace support

#endif
