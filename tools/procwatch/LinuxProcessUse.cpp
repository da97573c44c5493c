#include "procwatch/LinuxProcessUse.h"

#include <dirent.h>

#include <cstdlib>
#include <string>

#include "util/Helpers.h"

namespace tools {
namespace procwatch {

namespace {

// The number on the line of /proc/<pid>/status named `name`, which is never
// its first line ("Name:" is).
bool statusValue(const std::string& status, const std::string& name, unsigned long long& value) {
    const std::string::size_type at = status.find("\n" + name + ":");
    if (at == std::string::npos) {
        return false;
    }
    value = std::strtoull(status.c_str() + at + name.size() + 2, nullptr, 10);
    return true;
}

} // namespace

bool LinuxProcessUse::read(int pid) {
    const std::string folder = "/proc/" + std::to_string(pid);
    std::string stat;
    if (!util::readFile(folder + "/stat", stat)) {
        return false;
    }
    // The name in parentheses may hold blanks and parentheses itself: the
    // fields are counted from after its last closing one, the state first.
    std::string::size_type at = stat.rfind(") ");
    if (at == std::string::npos) {
        return false;
    }
    at += 2;
    unsigned long long times[2] = {};
    for (int field = 0; field <= 12 && at < stat.size(); ++field) {
        if (field >= 11) {
            times[field - 11] = std::strtoull(stat.c_str() + at, nullptr, 10);
        }
        at = stat.find(' ', at);
        at = at == std::string::npos ? stat.size() : at + 1;
    }
    _ticks = times[0] + times[1];

    DIR* tasks = opendir((folder + "/task").c_str());
    if (tasks == nullptr) {
        return false;
    }
    _wakeups = 0;
    for (const dirent* task = readdir(tasks); task != nullptr; task = readdir(tasks)) {
        std::string status;
        unsigned long long switches = 0;
        // A thread that ended meanwhile has no status any more, and no wakeups.
        if (task->d_name[0] != '.' &&
            util::readFile(folder + "/task/" + task->d_name + "/status", status) &&
            statusValue(status, "voluntary_ctxt_switches", switches)) {
            _wakeups += switches;
        }
    }
    closedir(tasks);
    return true;
}

} // namespace procwatch
} // namespace tools
