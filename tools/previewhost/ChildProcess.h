#ifndef PLOVIX_TOOLS_PREVIEWHOST_CHILDPROCESS_H
#define PLOVIX_TOOLS_PREVIEWHOST_CHILDPROCESS_H

#include <windows.h>

#include <optional>
#include <string>

#include "platform/handles/UniqueHandle.h"

namespace tools {
namespace previewhost {

// A program started with CreateProcess and a whole command line, the way
// Windows starts a screen saver. Owns the process and thread handles; a
// process still running when its owner goes is ended, so none is left behind.
class ChildProcess {
public:
    // What waitForExit returns while the process runs; every exit code,
    // 0xFFFFFFFF and STILL_ACTIVE included, is told apart from it.
    static inline const std::optional<DWORD> STILL_RUNNING{};

    // Throws std::runtime_error, naming the call and the system's reason,
    // when the program cannot be started.
    // A `program` named apart is started with `commandLine` exactly as
    // given; otherwise the system finds the program in the command line
    // (and Wine quotes a path with blanks that it finds there). Given an
    // inheritable `output`, the program writes both its outputs there.
    explicit ChildProcess(const std::string& commandLine, const std::string& program = "",
                          HANDLE output = nullptr);
    // The path of the file `name` in the folder of the running program, where
    // the build puts the programs that are started.
    static std::string besideThisProgram(const std::string& name);

    // Reports a process it could not end on the standard error output.
    ~ChildProcess();

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The exit code once the process has ended, waiting up to
    // `milliseconds`; STILL_RUNNING if it has not. Throws std::runtime_error
    // when the wait or the query fails.
    std::optional<DWORD> waitForExit(DWORD milliseconds);
    DWORD id() const { return _id; }
    // For queries about the running process and its first thread; the
    // handles stay this object's.
    HANDLE handle() const { return _process.get(); }
    HANDLE mainThread() const { return _thread.get(); }

private:
    using KernelHandle = platform::handles::UniqueHandle<HANDLE, &CloseHandle>;

    [[noreturn]] void _fail(const char* sentence) const;

    // The thread's handle is closed before the process's.
    KernelHandle _process;
    KernelHandle _thread;
    DWORD _id;
};

} // namespace previewhost
} // namespace tools

#endif
