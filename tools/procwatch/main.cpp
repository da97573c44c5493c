// plovix-procwatch idle SECONDS PROGRAM_PID SERVER_PID
//   Watches an idle Wine program and the Wine server from the Linux side for
//   SECONDS and prints, one "figure value" line each: the processor time
//   both used (cpu_pct), the program alone and the server alone, as a
//   percentage of one core, and the program's wakeups per second. For the
//   benchmark.
// plovix-procwatch waits PID...
//   Prints each process with each thread's state, kernel wait channel and
//   system call. For the test displays' watchdog, of a test that hangs.
// plovix-procwatch busy PID...
//   Prints each process that kept a processor busy for most of a second.
//   When the Wine server alone was, it also prints that Wine's own fault
//   hangs the test (after PLOVIX_WINE_FAULT_MARK) and exits 3.
// Exit code 0 otherwise, 1 when a process could not be read or ended while
// idle, 2 for a bad command line.
#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "procwatch/LinuxProcessUse.h"
#include "util/Helpers.h"

namespace {

using tools::procwatch::LinuxProcessUse;

const int WINE_FAULT_CODE = 3;

int number(const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value > 0 && value < 100000000 ? static_cast<int>(value)
                                                                         : 0;
}

// A /proc file's text without its last line break; empty when unreadable.
std::string procText(const std::string& path) {
    std::string text;
    if (!util::readFile(path, text)) {
        return "";
    }
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return text;
}

int idle(int seconds, int program, int server) {
    LinuxProcessUse programBefore;
    LinuxProcessUse serverBefore;
    if (!programBefore.read(program) || !serverBefore.read(server)) {
        std::fputs("plovix-procwatch: the program or the Wine server cannot be read\n", stderr);
        return 1;
    }
    const auto started = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    LinuxProcessUse programAfter;
    LinuxProcessUse serverAfter;
    if (!programAfter.read(program) || !serverAfter.read(server)) {
        std::fputs("plovix-procwatch: the program or the Wine server ended while idle\n", stderr);
        return 1;
    }
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double perTick = 100.0 / static_cast<double>(sysconf(_SC_CLK_TCK)) / elapsed;
    const double programTicks = static_cast<double>(programAfter.ticks() - programBefore.ticks());
    const double serverTicks = static_cast<double>(serverAfter.ticks() - serverBefore.ticks());
    std::printf("cpu_pct %.3f\n", (programTicks + serverTicks) * perTick);
    std::printf("cpu_program_pct %.3f\n", programTicks * perTick);
    std::printf("cpu_server_pct %.3f\n", serverTicks * perTick);
    std::printf("wakeups_per_s %.1f\n",
                static_cast<double>(programAfter.wakeups() - programBefore.wakeups()) / elapsed);
    return 0;
}

int waits(const std::vector<int>& pids) {
    for (const int pid : pids) {
        const std::string folder = "/proc/" + std::to_string(pid);
        std::string command = procText(folder + "/cmdline");
        if (command.empty()) {
            continue;
        }
        for (char& c : command) {
            c = c == '\0' ? ' ' : c;
        }
        std::printf("process %d: %s\n", pid, command.c_str());
        DIR* tasks = opendir((folder + "/task").c_str());
        if (tasks == nullptr) {
            continue;
        }
        for (const dirent* task = readdir(tasks); task != nullptr; task = readdir(tasks)) {
            if (task->d_name[0] == '.') {
                continue;
            }
            // A thread may end while it is read: what is gone reads "?".
            const std::string thread = folder + "/task/" + task->d_name;
            const std::string stat = procText(thread + "/stat");
            const std::string::size_type state = stat.rfind(") ");
            const std::string call = procText(thread + "/syscall");
            const std::string wchan = procText(thread + "/wchan");
            std::printf("  thread %s (%s): state %s, waiting in %s, system call %s\n", task->d_name,
                        procText(thread + "/comm").c_str(),
                        state == std::string::npos ? "?" : stat.substr(state + 2, 1).c_str(),
                        wchan.empty() ? "?" : wchan.c_str(),
                        call.empty() ? "?" : call.substr(0, call.find(' ')).c_str());
        }
        closedir(tasks);
    }
    return 0;
}

// A Wine server busy with itself hangs every program that waits on it,
// through no fault of theirs.
int busy(const std::vector<int>& pids) {
    std::vector<LinuxProcessUse> before(pids.size());
    std::vector<bool> read(pids.size());
    for (std::size_t i = 0; i < pids.size(); ++i) {
        read[i] = before[i].read(pids[i]);
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    int busyServers = 0;
    int busyOthers = 0;
    for (std::size_t i = 0; i < pids.size(); ++i) {
        LinuxProcessUse after;
        if (!read[i] || !after.read(pids[i]) ||
            (after.ticks() - before[i].ticks()) * 2 <
                static_cast<unsigned long long>(sysconf(_SC_CLK_TCK))) {
            continue;
        }
        const std::string comm = procText("/proc/" + std::to_string(pids[i]) + "/comm");
        std::printf("busy: process %d (%s) used more than half a processor over 1 s\n", pids[i],
                    comm.c_str());
        if (comm.compare(0, 10, "wineserver") == 0) {
            ++busyServers;
            std::puts("busy: the Wine server spins; the programs that wait on it hang (see the "
                      "README's known limits)");
        } else {
            ++busyOthers;
        }
    }
    if (busyServers > 0 && busyOthers == 0) {
        std::printf("%sits server spun while every other process waited on it\n",
                    PLOVIX_WINE_FAULT_MARK);
        return WINE_FAULT_CODE;
    }
    return 0;
}

int usage() {
    std::fputs("usage: plovix-procwatch idle SECONDS PROGRAM_PID SERVER_PID\n"
               "       plovix-procwatch waits|busy PID...\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    std::vector<int> numbers;
    for (int i = 2; i < argc; ++i) {
        numbers.push_back(number(argv[i]));
        if (numbers.back() == 0) {
            return usage();
        }
    }
    if (command == "idle" && numbers.size() == 3) {
        return idle(numbers[0], numbers[1], numbers[2]);
    }
    if (command == "waits") {
        return waits(numbers);
    }
    if (command == "busy") {
        return busy(numbers);
    }
    return usage();
}
