#ifndef PLOVIX_TOOLS_PREVIEWHOST_CHILDPROCESS_H
#define PLOVIX_TOOLS_PREVIEWHOST_CHILDPROCESS_H

#include <windows.h>

#include <string>

namespace tools {
namespace previewhost {

// A program started with CreateProcess and a whole command line, the way
// Windows starts a screen saver. Owns the process and thread handles; a
// process still running when its owner goes is ended, so none is left behind.
class ChildProcess {
public:
    static constexpr long STILL_RUNNING = -1;

    // Throws std::runtime_error when the program cannot be started.
    explicit ChildProcess(const std::string& commandLine);
    ~ChildProcess();

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The exit code, or STILL_RUNNING after `milliseconds`.
    long waitForExit(DWORD milliseconds);
    DWORD id() const { return _info.dwProcessId; }

private:
    PROCESS_INFORMATION _info;
};

} // namespace previewhost
} // namespace tools

#endif
