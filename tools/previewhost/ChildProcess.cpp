#include "previewhost/ChildProcess.h"

#include <cstdio>
#include <stdexcept>
#include <string>

#include "platform/errorresources/SystemErrors.h"
#include "timeouts/Timeouts.h"

namespace tools {
namespace previewhost {

using platform::errorresources::SystemErrors;

namespace {

const UINT ENDED_BY_OWNER = 99;
const DWORD ENDING_WAIT_MS = timeouts::SHORT_WAIT_MS;

std::string processLine(DWORD id) {
    char line[40];
    std::snprintf(line, sizeof line, "Process: %lu\n", static_cast<unsigned long>(id));
    return line;
}

} // namespace

ChildProcess::ChildProcess(const std::string& commandLine, const std::string& program,
                           HANDLE output)
    : _process()
    , _thread()
    , _id(0) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (output != nullptr) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    std::string line = commandLine; // CreateProcessA may write to it
    PROCESS_INFORMATION info = {};
    if (CreateProcessA(program.empty() ? nullptr : program.c_str(), &line[0], nullptr, nullptr,
                       output != nullptr ? TRUE : FALSE, 0, nullptr, nullptr, &startup,
                       &info) == 0) {
        SystemErrors::throwLastError<std::runtime_error>([&](const std::string& reason) {
            return "Could not start a program using 'CreateProcess'.\nCommand line: " +
                   commandLine + "\n" + reason;
        });
    }
    _process.reset(info.hProcess);
    _thread.reset(info.hThread);
    _id = info.dwProcessId;
}

std::string ChildProcess::besideThisProgram(const std::string& name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program = path;
    return program.substr(0, program.find_last_of("\\/") + 1) + name;
}

ChildProcess::~ChildProcess() {
    if (WaitForSingleObject(_process.get(), 0) != WAIT_OBJECT_0) {
        if (TerminateProcess(_process.get(), ENDED_BY_OWNER) == 0 ||
            WaitForSingleObject(_process.get(), ENDING_WAIT_MS) != WAIT_OBJECT_0) {
            const std::string reason = SystemErrors::lastErrorText();
            std::fputs(
                ("Could not end a program using 'TerminateProcess'.\n" + processLine(_id) + reason)
                    .c_str(),
                stderr);
        }
    }
}

std::optional<DWORD> ChildProcess::waitForExit(DWORD milliseconds) {
    switch (WaitForSingleObject(_process.get(), milliseconds)) {
    case WAIT_OBJECT_0:
        break;
    case WAIT_TIMEOUT:
        return STILL_RUNNING;
    default:
        _fail("Could not wait for a program using 'WaitForSingleObject'.\n");
    }
    DWORD code = 0;
    if (GetExitCodeProcess(_process.get(), &code) == 0) {
        _fail("Could not read a program's exit code using 'GetExitCodeProcess'.\n");
    }
    return code;
}

void ChildProcess::_fail(const char* sentence) const {
    SystemErrors::throwLastError<std::runtime_error>(
        [&](const std::string& reason) { return sentence + processLine(_id) + reason; });
}

} // namespace previewhost
} // namespace tools
