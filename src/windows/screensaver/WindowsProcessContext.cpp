#include "windows/screensaver/WindowsProcessContext.h"

#include <windows.h>

#include <algorithm>

namespace windows {
namespace screensaver {

std::string WindowsProcessContext::getCommandLine() const {
    const char* commandLine = GetCommandLineA();
    return commandLine != nullptr ? std::string(commandLine) : std::string();
}

HWND WindowsProcessContext::getForegroundWindow() const {
    return GetForegroundWindow();
}

namespace {

// The longest path Windows names a file with.
const DWORD LONGEST_PATH = 32768;

// What `convert` (GetLongPathNameA or GetShortPathNameA) makes of `path`, or
// "" when it fails.
std::string converted(DWORD(WINAPI* convert)(LPCSTR, LPSTR, DWORD), const std::string& path) {
    std::string result(LONGEST_PATH, '\0');
    const DWORD length = convert(path.c_str(), &result[0], LONGEST_PATH);
    if (length == 0 || length >= LONGEST_PATH) {
        return std::string();
    }
    result.resize(length);
    return result;
}

} // namespace

std::vector<std::string> WindowsProcessContext::getProgramPaths() const {
    std::string path(LONGEST_PATH, '\0');
    const DWORD length = GetModuleFileNameA(nullptr, &path[0], LONGEST_PATH);
    if (length == 0 || length >= LONGEST_PATH) {
        return {};
    }
    path.resize(length);
    std::vector<std::string> paths = {path};
    for (const std::string& form :
         {converted(GetLongPathNameA, path), converted(GetShortPathNameA, path)}) {
        if (!form.empty() && std::find(paths.begin(), paths.end(), form) == paths.end()) {
            paths.push_back(form);
        }
    }
    return paths;
}

} // namespace screensaver
} // namespace windows
