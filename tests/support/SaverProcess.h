#ifndef PLOVIX_TESTS_SUPPORT_SAVERPROCESS_H
#define PLOVIX_TESTS_SUPPORT_SAVERPROCESS_H

#include <windows.h>

#include <stdexcept>
#include <string>

namespace support {

// A program started the way Windows starts a screen saver: CreateProcess with
// a whole command line. Ends it, if it still runs, when the test is done.
class SaverProcess {
public:
    explicit SaverProcess(const std::string& commandLine) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::string line = commandLine;
        if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &_info) == 0) {
            throw std::runtime_error("could not start " + commandLine);
        }
    }
    ~SaverProcess() {
        if (waitForExit(0) == STILL_RUNNING) {
            TerminateProcess(_info.hProcess, 99);
            WaitForSingleObject(_info.hProcess, 5000);
        }
        CloseHandle(_info.hThread);
        CloseHandle(_info.hProcess);
    }
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    static constexpr long STILL_RUNNING = -1;

    // The exit code, or STILL_RUNNING after `milliseconds`.
    long waitForExit(DWORD milliseconds) {
        DWORD code = 0;
        if (WaitForSingleObject(_info.hProcess, milliseconds) != WAIT_OBJECT_0 ||
            GetExitCodeProcess(_info.hProcess, &code) == 0) {
            return STILL_RUNNING;
        }
        return static_cast<long>(code);
    }

    // The process's visible window of the given class, waiting up to
    // `milliseconds` for it; null if there is none.
    HWND waitForWindow(const char* className, int milliseconds = 10000) {
        for (int waited = 0; waited <= milliseconds; waited += 10) {
            const HWND window = FindWindowA(className, nullptr);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (window != nullptr && owner == _info.dwProcessId && IsWindowVisible(window)) {
                return window;
            }
            Sleep(10);
        }
        return nullptr;
    }

private:
    PROCESS_INFORMATION _info = {};
};

// The path of a file in the folder of the running test program.
inline std::string besideThisProgram(const std::string& name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/") + 1) + name;
}

inline COLORREF screenPixel(int x, int y) {
    const HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

} // namespace support

#endif
