#include "acceptance/KitProcesses.h"

#include <windows.h>

#include <tlhelp32.h>

#include "platform/errorresources/SystemErrors.h"
#include "platform/handles/UniqueHandle.h"
#include "timeouts/Timeouts.h"

namespace tools {
namespace acceptance {

namespace {

using platform::errorresources::SystemErrors;

const UINT ENDED_BY_THE_KIT = 99;

void closeHandle(HANDLE handle) {
    CloseHandle(handle);
}

HANDLE noSnapshot() {
    return INVALID_HANDLE_VALUE;
}

bool startsWith(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path.c_str(),
                          static_cast<int>(folder.size()), folder.c_str(),
                          static_cast<int>(folder.size())) == CSTR_EQUAL;
}

} // namespace

std::vector<std::string> KitProcesses::endLeftOver(const std::string& folder) {
    std::vector<std::string> left;
    const platform::handles::UniqueHandle<HANDLE, &closeHandle, noSnapshot> snapshot(
        CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        left.push_back("Could not list the processes using 'CreateToolhelp32Snapshot'.\n" +
                       SystemErrors::lastErrorText());
        return left;
    }
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more != 0;
         more = Process32Next(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == GetCurrentProcessId()) {
            continue;
        }
        const platform::handles::UniqueHandle<HANDLE, &closeHandle> process(
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                        entry.th32ProcessID));
        char path[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        // Another user's processes cannot be opened; none of them is ours.
        if (!process || QueryFullProcessImageNameA(process.get(), 0, path, &size) == 0 ||
            !startsWith(path, folder)) {
            continue;
        }
        std::string line = std::string(path) + " (process " + std::to_string(entry.th32ProcessID) +
                           ") was left running";
        if (TerminateProcess(process.get(), ENDED_BY_THE_KIT) == 0 ||
            WaitForSingleObject(process.get(), timeouts::SHORT_WAIT_MS) != WAIT_OBJECT_0) {
            line += " and could not be ended using 'TerminateProcess'.\n" +
                    SystemErrors::lastErrorText();
        } else {
            line += "; it was ended.";
        }
        left.push_back(line);
    }
    return left;
}

} // namespace acceptance
} // namespace tools
