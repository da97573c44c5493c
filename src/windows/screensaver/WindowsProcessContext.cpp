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

// The folders and the file a path names, in order.
std::vector<std::string> names(const std::string& path) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (std::string::size_type end = path.find('\\'); end != std::string::npos;
         end = path.find('\\', start)) {
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    parts.push_back(path.substr(start));
    return parts;
}

// A path may reach the program with some names long and others short, as a
// short folder of the account above a long install folder; up to this many
// names that differ, every such mix is told.
const std::size_t MOST_MIXED_NAMES = 6;

// Each path made of the long or the short name of every folder and of the
// file, the long and the short path among them; just those two when they do
// not match name for name or differ in too many names.
std::vector<std::string> mixedForms(const std::string& longPath, const std::string& shortPath) {
    const std::vector<std::string> longNames = names(longPath);
    const std::vector<std::string> shortNames = names(shortPath);
    if (longNames.size() != shortNames.size()) {
        return {longPath, shortPath};
    }
    std::size_t differing = 0;
    std::vector<std::string> forms = {std::string()};
    for (std::size_t i = 0; i < longNames.size(); ++i) {
        const bool differs = shortNames[i] != longNames[i];
        if (differs && ++differing > MOST_MIXED_NAMES) {
            return {longPath, shortPath};
        }
        const std::string separator = i == 0 ? "" : "\\";
        std::vector<std::string> longer;
        for (const std::string& form : forms) {
            longer.push_back(form + separator + longNames[i]);
            if (differs) {
                longer.push_back(form + separator + shortNames[i]);
            }
        }
        forms.swap(longer);
    }
    return forms;
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
    const std::string longPath = converted(GetLongPathNameA, path);
    const std::string shortPath = converted(GetShortPathNameA, path);
    for (const std::string& form : mixedForms(longPath, shortPath)) {
        if (!form.empty() && std::find(paths.begin(), paths.end(), form) == paths.end()) {
            paths.push_back(form);
        }
    }
    return paths;
}

} // namespace screensaver
} // namespace windows
