// benchdriver measure <program> [seconds]
//   Starts the program and prints, one "name value" line each, the time to
//   its first complete picture and the blink's interval and jitter; then
//   "idle", and waits for a line on its input while the caller watches the
//   idle program from outside, or, given the seconds, watches it itself for
//   that long and prints the share of a processor it took and its working
//   set at the end; then the peak working set, the handle count,
//   the handles in the system's handle list, the GDI and USER object counts
//   ("n/a" where the system answers 0) and the time from an injected key to
//   the end of the process.
// benchdriver click <program>
//   The first picture and the blink, then the time from an injected mouse
//   click to the end.
// benchdriver first <program>
//   The first picture alone; then a key ends the program.
// benchdriver picture <program> <file>
//   Once the picture is complete, writes the whole screen, every monitor,
//   to the BMP file; then a key ends the program.
// benchdriver display saver
//   The times of the display-mode calls the saver makes and the references
//   do not: reading the current mode, the switch to 800x600 and, once the
//   blink's sampling time has passed, putting the user's mode back.
// benchdriver soak <program> <seconds>
//   Samples working set and handle counts every 5 s, prints them at the end
//   of the first minute and at the end, then ends the program with a key.
// benchdriver cycles <program> <count>
//   Runs start, picture, key that many times and counts the runs that showed
//   no picture or did not end, and what they left behind.
// <program> is saver (Plovix.scr /s) or a reference: polling, blocking,
// switching or monitors, each found next to this program. A picture is
// complete once every monitor shows it: the switched primary, and every
// other monitor where the saver's layout puts it. Exit code 0 when everything
// was measured, 1 when something could not be (the reason on the error
// output), 2 for a bad command line. Times are milliseconds, memory KiB.
#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/MonitorLayout.h"
#include "app/Program.h"
#include "desktopprobe/InputSender.h"
#include "desktopprobe/ScreenReader.h"
#include "exceptions/Exception.h"
#include "platform/errorresources/SystemErrors.h"
#include "platform/handles/UniqueHandle.h"
#include "previewhost/ChildProcess.h"
#include "reference/ReferenceNames.h"
#include "timeouts/Timeouts.h"
#include "windows/devices/display/WindowsDisplaySettings.h"
#include "windows/graphics/PictureColours.h"

namespace {

using app::MonitorLayout;
using picture::PictureLayout;
using platform::errorresources::SystemErrors;
using tools::desktopprobe::InputSender;
using tools::desktopprobe::ScreenReader;
using tools::previewhost::ChildProcess;
using windows::devices::display::WindowsDisplaySettings;

const COLORREF LIGHT = windows::graphics::PictureColours::LIGHT;
const COLORREF DARK = windows::graphics::PictureColours::DARK;
const PictureLayout::Point BORDER = PictureLayout::BORDER_SAMPLE;
const PictureLayout::Point TEXT_AREA = PictureLayout::TEXT_AREA_SAMPLE;
const PictureLayout::Point BLOCK = PictureLayout::CURSOR_SAMPLE;
const PictureLayout::Point BANNER = PictureLayout::BANNER_SAMPLE;
const double PICTURE_TIMEOUT_MS = timeouts::WINDOW_MS;
const double CLEAR_SCREEN_TIMEOUT_MS = timeouts::SHORT_WAIT_MS;
const DWORD EXIT_TIMEOUT_MS = timeouts::WAIT_MS;
const double BLINK_SAMPLING_MS = 3000;
const DWORD SOAK_SAMPLE_MS = 5000;
const double SOAK_SETTLING_MS = 60000;
const NTSTATUS INFO_LENGTH_MISMATCH = static_cast<NTSTATUS>(0xC0000004L);
const size_t HANDLE_LIST_LIMIT = size_t{64} * 1024 * 1024;

struct Program {
    const char* name;
    const char* file;
    const char* arguments;
    const char* windowClass;
    bool hasBanner; // the saver's picture, with its text
};

const Program PROGRAMS[] = {
    {"saver", "Plovix.scr", " /s", app::WINDOW_CLASS_NAME, true},
    {"polling", "reference-polling.exe", "", bench::reference::WINDOW_CLASS_NAME, false},
    {"blocking", "reference-blocking.exe", "", bench::reference::WINDOW_CLASS_NAME, false},
    {"switching", "reference-switching.exe", "", bench::reference::WINDOW_CLASS_NAME, true},
    {"monitors", "reference-monitors.exe", "", bench::reference::WINDOW_CLASS_NAME, true},
};

// What CreateToolhelp32Snapshot answers on failure.
HANDLE noSnapshot() {
    return INVALID_HANDLE_VALUE;
}

struct Usage {
    unsigned long long workingSetKib;
    unsigned long long peakWorkingSetKib;
    unsigned long handles;
    unsigned long listedHandles;
};

[[noreturn]] void fail(const std::string& sentence, const Program& program) {
    throw std::runtime_error(sentence + "\nProgram: " + program.file + "\n");
}

[[noreturn]] void failCall(const std::string& sentence, const Program& program) {
    SystemErrors::throwLastError<std::runtime_error>([&](const std::string& reason) {
        return sentence + "\nProgram: " + program.file + "\n" + reason;
    });
}

double nowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / ticksPerMs;
}

// The caller reads each line as soon as it is written.
void printLine(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

void printValue(const char* name, double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%s %.1f", name, value);
    printLine(text);
}

// A figure at the end of the first minute and at the end of the run.
void printPair(const char* name, unsigned long long settled, unsigned long long last) {
    char text[96];
    std::snprintf(text, sizeof text, "%s %llu %llu", name, settled, last);
    printLine(text);
}

// Wine answers 0 for what it does not count.
std::string countOrNa(unsigned long long count) {
    return count == 0 ? "n/a" : std::to_string(count);
}

std::string commandLine(const Program& program) {
    return "\"" + ChildProcess::besideThisProgram(program.file) + "\"" + program.arguments;
}

// The border, the text area and the block in either blue; for the picture
// of the saver also the first letter of its banner, so that text counts too.
// On every monitor but the primary the picture is where the saver's layout
// puts it, scaled: the border, the text area and the banner are checked
// there. The monitors are listed only once the primary shows the picture,
// and again at every sample: this process may see the switch late.
bool showsPicture(const ScreenReader& screen, const Program& program) {
    const COLORREF block = screen.pixel(BLOCK.x, BLOCK.y);
    if (screen.pixel(BORDER.x, BORDER.y) != LIGHT ||
        screen.pixel(TEXT_AREA.x, TEXT_AREA.y) != DARK || (block != LIGHT && block != DARK) ||
        (program.hasBanner && screen.pixel(BANNER.x, BANNER.y) != LIGHT)) {
        return false;
    }
    std::vector<MonitorLayout::Area> monitors;
    try {
        for (const RECT& area : WindowsDisplaySettings().getMonitorAreas()) {
            monitors.push_back(
                {area.left, area.top, area.right - area.left, area.bottom - area.top});
        }
    } catch (const exceptions::Exception& e) {
        fail(e.getMessage(), program);
    }
    const MonitorLayout::Area primary = {0, 0, GetSystemMetrics(SM_CXSCREEN),
                                         GetSystemMetrics(SM_CYSCREEN)};
    for (const MonitorLayout::Cover& cover : MonitorLayout::covers(monitors, primary)) {
        // The picture's place is the window's own; the screen's is the desktop's.
        const MonitorLayout::Area& picture = cover.picture;
        const auto at = [&](int x, int y) {
            return screen.pixel(
                cover.window.left + picture.left + x * picture.width / PictureLayout::WIDTH,
                cover.window.top + picture.top + y * picture.height / PictureLayout::HEIGHT);
        };
        if (at(BORDER.x, BORDER.y) != LIGHT || at(TEXT_AREA.x, TEXT_AREA.y) != DARK ||
            (program.hasBanner && at(BANNER.x, BANNER.y) != LIGHT)) {
            return false;
        }
    }
    return true;
}

// An earlier run's picture must not pass for this run's first one.
bool awaitClearScreen(const ScreenReader& screen, const Program& program) {
    const double start = nowMs();
    while (showsPicture(screen, program)) {
        if (nowMs() - start > CLEAR_SCREEN_TIMEOUT_MS) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

// Milliseconds from `started` to the first sample of the whole picture. The
// short pause keeps the sampling from taking a core from the program.
double awaitPicture(const ScreenReader& screen, const Program& program, ChildProcess& process,
                    double started) {
    while (!showsPicture(screen, program)) {
        if (process.waitForExit(0) != ChildProcess::STILL_RUNNING) {
            fail("The program ended before it showed its picture.", program);
        }
        if (nowMs() - started > PICTURE_TIMEOUT_MS) {
            fail("The program showed no complete picture within " +
                     std::to_string(timeouts::WINDOW_MS / 1000) + " s.",
                 program);
        }
        Sleep(1);
    }
    return nowMs() - started;
}

// The mean time between two changes of the block, the standard deviation of
// those times, and the mean time between two samples, which bounds both.
void measureBlink(const ScreenReader& screen, const Program& program) {
    std::vector<double> changes;
    int samples = 0;
    COLORREF shown = screen.pixel(BLOCK.x, BLOCK.y);
    const double start = nowMs();
    while (nowMs() - start < BLINK_SAMPLING_MS) {
        const COLORREF now = screen.pixel(BLOCK.x, BLOCK.y);
        ++samples;
        if ((now == LIGHT || now == DARK) && now != shown) {
            changes.push_back(nowMs());
            shown = now;
        }
        Sleep(1);
    }
    if (changes.size() < 3) {
        fail("The cursor block changed fewer than three times in 3 s.", program);
    }
    const double intervals = static_cast<double>(changes.size() - 1);
    const double mean = (changes.back() - changes.front()) / intervals;
    double squares = 0;
    for (size_t i = 1; i < changes.size(); ++i) {
        const double deviation = changes[i] - changes[i - 1] - mean;
        squares += deviation * deviation;
    }
    printValue("blink_interval_ms", mean);
    printValue("blink_jitter_ms", std::sqrt(squares / intervals));
    printValue("blink_sample_ms", BLINK_SAMPLING_MS / samples);
}

// The caller watches the idle program while this process waits for its word
// (any line, or the end of the input).
void awaitCaller() {
    printLine("idle");
    char line[16];
    std::fgets(line, sizeof line, stdin);
}

// GetProcessHandleCount answers 0 under Wine, which still lists every
// handle of every process in the system's handle list: a leak shows there.
unsigned long listedHandles(const ChildProcess& process, const Program& program) {
    std::vector<unsigned char> buffer(std::size_t{64} * 1024);
    NTSTATUS status = 0;
    while ((status = NtQuerySystemInformation(SystemHandleInformation, buffer.data(),
                                              static_cast<ULONG>(buffer.size()), nullptr)) ==
               INFO_LENGTH_MISMATCH &&
           buffer.size() < HANDLE_LIST_LIMIT) {
        buffer.resize(buffer.size() * 2);
    }
    if (status < 0) {
        SetLastError(RtlNtStatusToDosError(status));
        failCall("Could not list the handles using 'NtQuerySystemInformation'.", program);
    }
    const auto* list = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
    unsigned long count = 0;
    for (ULONG i = 0; i < list->Count; ++i) {
        if (list->Handle[i].OwnerPid == process.id()) {
            ++count;
        }
    }
    return count;
}

Usage readUsage(const ChildProcess& process, const Program& program) {
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process.handle(), &memory, sizeof memory) == 0) {
        failCall("Could not read the program's memory use using 'GetProcessMemoryInfo'.", program);
    }
    DWORD handles = 0;
    if (GetProcessHandleCount(process.handle(), &handles) == 0) {
        failCall("Could not count the program's handles using 'GetProcessHandleCount'.", program);
    }
    return {memory.WorkingSetSize / 1024, memory.PeakWorkingSetSize / 1024, handles,
            listedHandles(process, program)};
}

void printResources(const ChildProcess& process, const Program& program) {
    const Usage usage = readUsage(process, program);
    printLine("peak_working_set_kib " + countOrNa(usage.peakWorkingSetKib));
    printLine("handles " + countOrNa(usage.handles));
    printLine("listed_handles " + countOrNa(usage.listedHandles));
    printLine("gdi_objects " + countOrNa(GetGuiResources(process.handle(), GR_GDIOBJECTS)));
    printLine("user_objects " + countOrNa(GetGuiResources(process.handle(), GR_USEROBJECTS)));
}

// Milliseconds from injecting a space key (or a left click) to the end of
// the process.
double endWith(bool click, ChildProcess& process, const Program& program) {
    const double sent = nowMs();
    if (!(click ? InputSender::click() : InputSender::key(VK_SPACE))) {
        failCall("Could not inject the input using 'SendInput'.", program);
    }
    if (process.waitForExit(EXIT_TIMEOUT_MS) == ChildProcess::STILL_RUNNING) {
        fail("The program did not end within " + std::to_string(timeouts::WAIT_MS / 1000) +
                 (click ? " s of a click." : " s of a key."),
             program);
    }
    return nowMs() - sent;
}

// The processor time the process has taken so far, in milliseconds.
double processorMs(const ChildProcess& process, const Program& program) {
    FILETIME created = {};
    FILETIME exited = {};
    FILETIME kernel = {};
    FILETIME user = {};
    if (GetProcessTimes(process.handle(), &created, &exited, &kernel, &user) == 0) {
        failCall("Could not read the program's processor time using 'GetProcessTimes'.", program);
    }
    const auto ms = [](const FILETIME& time) {
        return static_cast<double>((ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime) /
               10000.0;
    };
    return ms(kernel) + ms(user);
}

// Watches the idle program for `seconds` from this side, where no caller
// can watch it from outside.
void watchIdle(ChildProcess& process, const Program& program, unsigned long seconds) {
    printLine("idle");
    const double busyBefore = processorMs(process, program);
    const double start = nowMs();
    if (process.waitForExit(seconds * 1000) != ChildProcess::STILL_RUNNING) {
        fail("The program ended while it was idle.", program);
    }
    // An idle saver takes hundredths of a per cent. A program that has
    // painted has taken some time, so a time of 0 is one Wine does not keep.
    const double busyAfter = processorMs(process, program);
    char line[64];
    std::snprintf(line, sizeof line, "idle_cpu_percent %.2f",
                  100.0 * (busyAfter - busyBefore) / (nowMs() - start));
    printLine(busyAfter > 0 ? line : "idle_cpu_percent n/a");
    printLine("working_set_kib " + countOrNa(readUsage(process, program).workingSetKib));
}

enum class Run { FULL, CLICK, FIRST_PICTURE, PICTURE };

int measure(const Program& program, Run run, unsigned long idleSeconds = 0,
            const std::string& picture = "") {
    const ScreenReader screen;
    if (!awaitClearScreen(screen, program)) {
        fail("The screen still showed the picture of an earlier run.", program);
    }
    const double started = nowMs();
    ChildProcess process(commandLine(program));
    printValue("first_frame_ms", awaitPicture(screen, program, process, started));
    if (run == Run::PICTURE) {
        const RECT everyMonitor = {
            GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
        screen.save(everyMonitor, picture);
    }
    if (run == Run::FIRST_PICTURE || run == Run::PICTURE) {
        endWith(false, process, program);
        return 0;
    }
    // Both exits are measured from a program that has settled: right after
    // its start Wine is still busy with the display switch.
    measureBlink(screen, program);
    if (run == Run::CLICK) {
        printValue("exit_click_ms", endWith(true, process, program));
        return 0;
    }
    if (idleSeconds > 0) {
        watchIdle(process, program, idleSeconds);
    } else {
        awaitCaller();
    }
    if (process.waitForExit(0) != ChildProcess::STILL_RUNNING) {
        fail("The program ended while it was idle.", program);
    }
    printResources(process, program);
    printValue("exit_key_ms", endWith(false, process, program));
    return 0;
}

int display(const Program& program) {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    double start = nowMs();
    if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) == 0) {
        failCall("Could not read the display mode using 'EnumDisplaySettingsA'.", program);
    }
    printValue("display_read_ms", nowMs() - start);
    mode.dmPelsWidth = PictureLayout::WIDTH;
    mode.dmPelsHeight = PictureLayout::HEIGHT;
    start = nowMs();
    LONG result = ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN);
    if (result != DISP_CHANGE_SUCCESSFUL) {
        fail("The display refused 800x600 (result " + std::to_string(result) + ").", program);
    }
    printValue("display_switch_ms", nowMs() - start);
    Sleep(static_cast<DWORD>(BLINK_SAMPLING_MS));
    start = nowMs();
    result = ChangeDisplaySettingsA(nullptr, 0);
    if (result != DISP_CHANGE_SUCCESSFUL) {
        fail("The display mode was not put back (result " + std::to_string(result) + ").", program);
    }
    printValue("display_restore_ms", nowMs() - start);
    return 0;
}

int soak(const Program& program, unsigned long seconds) {
    const ScreenReader screen;
    if (!awaitClearScreen(screen, program)) {
        fail("The screen still showed the picture of an earlier run.", program);
    }
    ChildProcess process(commandLine(program));
    awaitPicture(screen, program, process, nowMs());
    const double start = nowMs();
    Usage settled = {};
    Usage last = {};
    bool hasSettled = false;
    while (nowMs() - start < 1000.0 * seconds) {
        if (process.waitForExit(SOAK_SAMPLE_MS) != ChildProcess::STILL_RUNNING) {
            fail("The program ended during the soak.", program);
        }
        last = readUsage(process, program);
        char line[96];
        std::snprintf(line, sizeof line, "sample %.0f %llu %lu %lu", (nowMs() - start) / 1000,
                      last.workingSetKib, last.handles, last.listedHandles);
        printLine(line);
        // A run shorter than the settling time is compared with its start.
        if (!hasSettled &&
            (nowMs() - start >= SOAK_SETTLING_MS || seconds * 1000.0 <= SOAK_SETTLING_MS)) {
            settled = last;
            hasSettled = true;
        }
    }
    printPair("soak_working_set_kib", settled.workingSetKib, last.workingSetKib);
    printPair("soak_handles", settled.handles, last.handles);
    printPair("soak_listed_handles", settled.listedHandles, last.listedHandles);
    endWith(false, process, program);
    return 0;
}

// Copies of the program that Windows still lists, in this prefix only.
int runningCopies(const Program& program) {
    const platform::handles::UniqueHandle<HANDLE, &CloseHandle, noSnapshot> snapshot(
        CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        failCall("Could not list the processes using 'CreateToolhelp32Snapshot'.", program);
    }
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int copies = 0;
    for (BOOL more = Process32First(snapshot.get(), &entry); more != 0;
         more = Process32Next(snapshot.get(), &entry)) {
        if (lstrcmpiA(entry.szExeFile, program.file) == 0) {
            ++copies;
        }
    }
    return copies;
}

int cycles(const Program& program, unsigned long count) {
    const ScreenReader screen;
    int withoutPicture = 0;
    int notEnded = 0;
    int windowsLeft = 0;
    int picturesLeft = 0;
    for (unsigned long i = 0; i < count; ++i) {
        if (!awaitClearScreen(screen, program)) {
            ++picturesLeft;
        }
        {
            ChildProcess process(commandLine(program));
            try {
                awaitPicture(screen, program, process, nowMs());
            } catch (const std::runtime_error&) {
                ++withoutPicture;
            }
            try {
                endWith(false, process, program);
            } catch (const std::runtime_error&) {
                ++notEnded; // the process's owner ends it
            }
        }
        if (FindWindowA(program.windowClass, nullptr) != nullptr) {
            ++windowsLeft;
        }
    }
    printLine("cycles " + std::to_string(count));
    printLine("cycles_without_picture " + std::to_string(withoutPicture));
    printLine("cycles_not_ended " + std::to_string(notEnded));
    printLine("cycles_windows_left " + std::to_string(windowsLeft));
    printLine("cycles_pictures_left " + std::to_string(picturesLeft));
    printLine("cycles_processes_left " + std::to_string(runningCopies(program)));
    return 0;
}

const Program* findProgram(const char* name) {
    for (const Program& program : PROGRAMS) {
        if (std::strcmp(program.name, name) == 0) {
            return &program;
        }
    }
    return nullptr;
}

bool parseCount(const char* text, unsigned long* count) {
    char* end = nullptr;
    *count = std::strtoul(text, &end, 10);
    return end != text && *end == '\0' && *count > 0 && *count <= 100000;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc >= 2 ? argv[1] : "";
    const Program* program = argc >= 3 ? findProgram(argv[2]) : nullptr;
    unsigned long count = 0;
    try {
        if (argc == 3 && program != nullptr) {
            if (command == "measure") {
                return measure(*program, Run::FULL);
            }
            if (command == "click") {
                return measure(*program, Run::CLICK);
            }
            if (command == "first") {
                return measure(*program, Run::FIRST_PICTURE);
            }
        }
        if (argc == 3 && program == &PROGRAMS[0] && command == "display") {
            return display(*program);
        }
        if (argc == 4 && program != nullptr && command == "picture") {
            return measure(*program, Run::PICTURE, 0, argv[3]);
        }
        if (argc == 4 && program != nullptr && command == "measure" &&
            parseCount(argv[3], &count)) {
            return measure(*program, Run::FULL, count);
        }
        if (argc == 4 && program != nullptr && parseCount(argv[3], &count)) {
            if (command == "soak") {
                return soak(*program, count);
            }
            if (command == "cycles") {
                return cycles(*program, count);
            }
        }
    } catch (const std::exception& e) {
        std::fputs(e.what(), stderr);
        return 1;
    }
    std::fputs("usage: benchdriver measure|click|first <program>\n"
               "       benchdriver measure <program> <seconds>\n"
               "       benchdriver picture <program> <file>\n"
               "       benchdriver display saver\n"
               "       benchdriver soak <program> <seconds>\n"
               "       benchdriver cycles <program> <count>\n"
               "<program>: saver, polling, blocking, switching or monitors\n",
               stderr);
    return 2;
}
