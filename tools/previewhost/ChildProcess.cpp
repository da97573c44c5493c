#include "previewhost/ChildProcess.h"

#include <stdexcept>

namespace tools {
namespace previewhost {

namespace {

const UINT ENDED_BY_OWNER = 99;

} // namespace

ChildProcess::ChildProcess(const std::string& commandLine)
    : _info() {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string line = commandLine; // CreateProcessA may write to it
    if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &_info) == 0) {
        throw std::runtime_error("could not start " + commandLine);
    }
}

ChildProcess::~ChildProcess() {
    if (waitForExit(0) == STILL_RUNNING) {
        TerminateProcess(_info.hProcess, ENDED_BY_OWNER);
        WaitForSingleObject(_info.hProcess, 5000);
    }
    CloseHandle(_info.hThread);
    CloseHandle(_info.hProcess);
}

long ChildProcess::waitForExit(DWORD milliseconds) {
    DWORD code = 0;
    if (WaitForSingleObject(_info.hProcess, milliseconds) != WAIT_OBJECT_0 ||
        GetExitCodeProcess(_info.hProcess, &code) == 0) {
        return STILL_RUNNING;
    }
    return static_cast<long>(code);
}

} // namespace previewhost
} // namespace tools
