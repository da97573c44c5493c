// plovix-idlewatch SECONDS PROGRAM_PID SERVER_PID
//   Watches an idle Wine program and the Wine server from the Linux side for
//   SECONDS and prints, one "figure value" line each: the processor time
//   both used (cpu_pct), the program alone and the server alone, as a
//   percentage of one core, and the program's wakeups per second. Exit code
//   0 when measured, 1 when a process could not be read or ended, 2 for a
//   bad command line.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "idle/LinuxProcessUse.h"

namespace {

using bench::idle::LinuxProcessUse;

int number(const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value > 0 && value < 1000000 ? static_cast<int>(value)
                                                                       : 0;
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc == 4 ? number(argv[1]) : 0;
    const int program = argc == 4 ? number(argv[2]) : 0;
    const int server = argc == 4 ? number(argv[3]) : 0;
    if (seconds == 0 || program == 0 || server == 0) {
        std::fputs("usage: plovix-idlewatch SECONDS PROGRAM_PID SERVER_PID\n", stderr);
        return 2;
    }
    LinuxProcessUse programBefore;
    LinuxProcessUse serverBefore;
    if (!programBefore.read(program) || !serverBefore.read(server)) {
        std::fputs("plovix-idlewatch: the program or the Wine server cannot be read\n", stderr);
        return 1;
    }
    const auto started = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    LinuxProcessUse programAfter;
    LinuxProcessUse serverAfter;
    if (!programAfter.read(program) || !serverAfter.read(server)) {
        std::fputs("plovix-idlewatch: the program or the Wine server ended while idle\n", stderr);
        return 1;
    }
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double perTick = 100.0 / static_cast<double>(sysconf(_SC_CLK_TCK)) / elapsed;
    const auto used = [](const LinuxProcessUse& before, const LinuxProcessUse& after) {
        return static_cast<double>(after.ticks() - before.ticks());
    };
    const double programTicks = used(programBefore, programAfter);
    const double serverTicks = used(serverBefore, serverAfter);
    std::printf("cpu_pct %.3f\n", (programTicks + serverTicks) * perTick);
    std::printf("cpu_program_pct %.3f\n", programTicks * perTick);
    std::printf("cpu_server_pct %.3f\n", serverTicks * perTick);
    std::printf("wakeups_per_s %.1f\n",
                static_cast<double>(programAfter.wakeups() - programBefore.wakeups()) / elapsed);
    return 0;
}
