// plovix-acceptance [--switch-monitors]
//   Run by run-acceptance.cmd from the kit's folder for this Windows' kind
//   (x64 or x86). Runs every test of the kit's list that this desk can run,
//   each in a process of its own, with this folder's saver, and on 64-bit
//   Windows the 32-bit folder's too; names each test it cannot run here and
//   why. Then measures the saver beside the references run the same way,
//   takes pictures of the full-screen run, the preview and the notice, puts
//   the desk back as it found it and checks that it did. Writes
//   acceptance-report.xml (JUnit) and acceptance-report.html, with the
//   pictures in acceptance-pictures, into the kit's folder. --switch-monitors
//   also lets the tests switch a monitor other than the primary off and on.
//   Exit code 0 when every test that ran passed, 1 when one failed or the
//   report could not be written, 2 for a bad command line.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "acceptance/AcceptanceReport.h"
#include "acceptance/DeskState.h"
#include "acceptance/DeskSurvey.h"
#include "acceptance/KitProcesses.h"
#include "acceptance/KitProgram.h"
#include "app/MessageBoxReporter.h"
#include "app/Program.h"
#include "desktopprobe/MessageBoxReader.h"
#include "desktopprobe/ScreenReader.h"
#include "desktopprobe/WineFeatures.h"
#include "picture/PictureLayout.h"
#include "previewhost/ChildProcess.h"
#include "timeouts/Timeouts.h"
#include "windows/graphics/PictureColours.h"

namespace {

using tools::acceptance::AcceptanceReport;
using tools::acceptance::DeskState;
using tools::acceptance::DeskSurvey;
using tools::acceptance::KitProcesses;
using tools::acceptance::KitProgram;
using tools::previewhost::ChildProcess;
using Outcome = KitProgram::Outcome;
using Part = DeskState::Part;
using picture::PictureLayout;

// The list of the kit's tests, beside each folder's programs: one
// "<kind> <program> <Suite.Name>" line a test, the kind being the kind of
// test display it runs on under Wine.
const char* const TEST_LIST = "acceptance-tests.txt";
const char* const PICTURES = "acceptance-pictures";
// How long the saver and each reference are watched while idle.
const char* const IDLE_SECONDS = "5";
// Rough times a test and the rest take, for the estimate printed first.
const int SECONDS_A_TEST = 2;
const int SECONDS_BESIDE_THE_TESTS = 60;

struct Folder {
    std::string name; // x64 or x86
    std::string path; // with its trailing backslash
};

struct Entry {
    std::string kind;
    std::string program;
    std::string test;
};

void print(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

std::string folderOf(const std::string& path) {
    return path.substr(0, path.find_last_of("\\/") + 1);
}

void closeFile(std::FILE* file) {
    std::fclose(file);
}

std::vector<Entry> readList(const std::string& path) {
    std::vector<Entry> entries;
    const std::unique_ptr<std::FILE, void (*)(std::FILE*)> file(std::fopen(path.c_str(), "r"),
                                                                closeFile);
    char kind[64];
    char program[128];
    char test[256];
    while (file && std::fscanf(file.get(), "%63s %127s %255s", kind, program, test) == 3) {
        entries.push_back({kind, program, test});
    }
    return entries;
}

// The picture's size as a person reads it, "800x600".
std::string pictureSize() {
    return std::to_string(PictureLayout::WIDTH) + "x" + std::to_string(PictureLayout::HEIGHT);
}

// Why this desk cannot run tests that need a desk like a test display of
// `kind`, or "any" desk, or one "offering-picture-size"; empty when it can.
std::string unsuitable(const std::string& kind, const DeskSurvey& desk) {
    const bool switches = desk.primaryOffersPictureSize() && !desk.primaryAtPictureSize();
    if (kind == "at-picture-size" && (!desk.primaryAtPictureSize() || desk.monitors().size() > 1)) {
        return "these run the saver with a stand-in for the display settings, which needs a "
               "single monitor already showing " +
               pictureSize();
    }
    if (kind == "offering-picture-size" && !desk.primaryOffersPictureSize()) {
        return "the primary monitor does not offer " + pictureSize() +
               ", which a full-screen run switches to";
    }
    if (kind == "refusing" && desk.primaryOffersPictureSize()) {
        return "the primary monitor offers " + pictureSize() +
               ", so the saver's answer to a display that refuses it cannot be seen here";
    }
    if ((kind == "switching" || kind == "two-monitors") && !switches) {
        return desk.primaryAtPictureSize() ? "the primary monitor already shows " + pictureSize() +
                                                 ": there is no switch to see"
                                           : "the primary monitor does not offer " + pictureSize();
    }
    if (kind == "two-monitors" && desk.monitors().size() < 2) {
        return "this desk has a single monitor";
    }
    const char* const known[] = {
        "any", "offering-picture-size", "at-picture-size", "refusing", "switching", "two-monitors"};
    if (std::find(std::begin(known), std::end(known), kind) == std::end(known)) {
        return "this runner does not know what a desk of kind \"" + kind + "\" is";
    }
    return "";
}

// Whether the folder's programs start on this Windows at all: a 64-bit
// Windows without its 32-bit part, or Wine without it, cannot start them.
std::string cannotStart(const Folder& folder, const std::string& scratch) {
    const KitProgram::Result result = KitProgram(folder.path + "unit_tests.exe", scratch)
                                          .run("--gtest_list_tests", timeouts::WINDOW_MS);
    if (result.outcome == Outcome::PASSED) {
        return "";
    }
    // Its last line says why.
    std::string why = result.output;
    while (!why.empty() && why.back() == '\n') {
        why.pop_back();
    }
    return "the " + folder.name + " programs do not run on this Windows (" +
           why.substr(why.find_last_of('\n') + 1) + ")";
}

void addProblems(AcceptanceReport::Case& result, const std::vector<std::string>& problems) {
    for (const std::string& problem : problems) {
        result.outcome = Outcome::FAILED;
        result.reason += (result.reason.empty() ? "" : "\n") + problem;
        result.output += "\n" + problem + "\n";
    }
}

// After a test: whatever it left changed fails it, and is put back so that
// the tests after it start from the desk as it was. Another process's mode
// change may reach this one late, so a difference must last.
void checkAfter(AcceptanceReport::Case& result, const DeskState& before,
                const std::string& kitFolder) {
    addProblems(result, KitProcesses::endLeftOver(kitFolder));
    std::vector<std::string> changed;
    for (int waited = 0; waited <= timeouts::SHORT_WAIT_MS; waited += 100) {
        changed = before.differences(DeskState(), Part::DISPLAY_MODES);
        if (changed.empty()) {
            return;
        }
        Sleep(100);
    }
    for (std::string& change : changed) {
        change = "It left a display mode changed: " + change + ".";
    }
    addProblems(result, changed);
    addProblems(result, before.restore(Part::DISPLAY_MODES));
}

void printResult(const AcceptanceReport::Case& result) {
    const char* word = result.outcome == Outcome::PASSED    ? "[ passed  ] "
                       : result.outcome == Outcome::SKIPPED ? "[ skipped ] "
                                                            : "[ FAILED  ] ";
    print(word + result.suite + "." + result.name +
          (result.outcome == Outcome::PASSED ? "" : ": " + result.reason));
}

void runTests(const Folder& folder, const std::vector<Entry>& entries, const DeskSurvey& desk,
              const DeskState& before, const std::string& kitFolder, AcceptanceReport& report) {
    const std::string scratch = kitFolder + "acceptance-output.txt";
    const std::string refused = cannotStart(folder, scratch);
    for (const Entry& entry : entries) {
        const std::string::size_type dot = entry.test.find('.');
        AcceptanceReport::Case result = {folder.name + "." + entry.test.substr(0, dot),
                                         entry.test.substr(dot + 1),
                                         Outcome::SKIPPED,
                                         0,
                                         refused.empty() ? unsuitable(entry.kind, desk) : refused,
                                         ""};
        if (result.reason.empty()) {
            const KitProgram::Result run =
                KitProgram(folder.path + entry.program, scratch)
                    .run("--gtest_filter=" + entry.test, timeouts::TEST_MS);
            result.outcome = run.outcome;
            result.seconds = run.seconds;
            result.reason = KitProgram::reason(run.output);
            result.output = run.output;
            checkAfter(result, before, kitFolder);
        }
        printResult(result);
        report.add(result);
    }
    DeleteFileA(scratch.c_str());
}

void skip(AcceptanceReport& report, const std::string& suite, const std::string& name,
          const std::string& reason) {
    const AcceptanceReport::Case skipped = {suite, name, Outcome::SKIPPED, 0, reason, ""};
    printResult(skipped);
    report.add(skipped);
}

// "name value" lines, as the benchmark's driver prints them.
std::vector<std::pair<std::string, std::string>> figuresIn(const std::string& output) {
    std::vector<std::pair<std::string, std::string>> figures;
    std::string::size_type start = 0;
    while (start < output.size()) {
        std::string::size_type end = output.find('\n', start);
        end = end == std::string::npos ? output.size() : end;
        std::string line = output.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::string::size_type blank = line.find(' ');
        if (blank != std::string::npos && line.find(' ', blank + 1) == std::string::npos) {
            figures.emplace_back(line.substr(0, blank), line.substr(blank + 1));
        }
        start = end + 1;
    }
    return figures;
}

// The saver and the references the benchmark compares it with, each
// measured the same way: first picture, blink, idle, exit after a key.
void measure(const Folder& folder, const DeskSurvey& desk, const DeskState& before,
             const std::string& kitFolder, AcceptanceReport& report) {
    // Reference (c) covers the primary monitor alone, (d) every one: the one
    // that shows the whole picture on this desk is the saver's yardstick.
    const std::vector<std::pair<std::string, std::string>> programs = {
        {"saver", "saver"},
        desk.monitors().size() > 1 ? std::make_pair("monitors", "reference (d), monitors")
                                   : std::make_pair("switching", "reference (c), switching")};
    for (const auto& program : programs) {
        if (!desk.primaryOffersPictureSize()) {
            skip(report, folder.name + ".figures", program.first,
                 unsuitable("offering-picture-size", desk));
            continue;
        }
        const KitProgram::Result run =
            KitProgram(folder.path + "benchdriver.exe", kitFolder + "acceptance-output.txt")
                .run(std::string("measure ") + program.first + " " + IDLE_SECONDS,
                     timeouts::TEST_MS);
        AcceptanceReport::Case result = {
            folder.name + ".figures", program.first, run.outcome, run.seconds, "", run.output};
        result.reason = run.outcome == Outcome::PASSED ? "" : run.output;
        checkAfter(result, before, kitFolder);
        if (result.outcome == Outcome::PASSED) {
            report.addFigures(program.second, figuresIn(run.output));
        }
        printResult(result);
        report.add(result);
    }
}

// Waits, up to `milliseconds`, until `ready` holds.
template <typename Ready>
bool waitFor(Ready ready, int milliseconds = timeouts::WAIT_MS) {
    for (int waited = 0; waited <= milliseconds; waited += 50) {
        if (ready()) {
            return true;
        }
        Sleep(50);
    }
    return false;
}

// The preview in the settings dialog as the preview host plays it, once
// the scaled picture shows in it: the host prints the preview area's place.
// Where the system does not show what one process paints into another's
// window, the host draws the preview in its own process.
std::string previewPicture(const Folder& folder, const std::string& scratch,
                           const std::string& file) {
    const KitProgram program(folder.path + "previewhost.exe", scratch);
    const std::unique_ptr<ChildProcess> host =
        program.start(tools::desktopprobe::WineFeatures().showsOtherProcessesChildren()
                          ? "\"" + folder.path + "Plovix.scr\" /p"
                          : "--in-process");
    const tools::desktopprobe::ScreenReader screen;
    RECT area = {};
    const bool shown = waitFor([&] {
        long left = 0;
        long top = 0;
        long width = 0;
        long height = 0;
        const std::string printed = program.printed();
        const std::string::size_type at = printed.find("preview area: ");
        if (at == std::string::npos ||
            std::sscanf(printed.c_str() + at, "preview area: %ld %ld %ld %ld", &left, &top, &width,
                        &height) != 4) {
            return false;
        }
        area = {left, top, left + width, top + height};
        // The middle of the scaled picture lies in its text area.
        return screen.pixel(left + width / 2, top + height / 2) ==
               windows::graphics::PictureColours::DARK;
    });
    if (!shown) {
        return "The preview showed no picture within " + std::to_string(timeouts::WAIT_MS / 1000) +
               " s.";
    }
    screen.save(area, file);
    return "";
}

// The notice the saver shows for its settings, which it has none of.
std::string noticePicture(const Folder& folder, const std::string& file) {
    ChildProcess saver("\"" + folder.path + "Plovix.scr\" /c");
    const std::string caption = app::MessageBoxReporter(app::APPLICATION_NAME).informationCaption();
    HWND box = nullptr;
    if (!waitFor([&] {
            return (box = tools::desktopprobe::MessageBoxReader::find(caption)) != nullptr;
        })) {
        return "The saver showed no notice within " + std::to_string(timeouts::WAIT_MS / 1000) +
               " s.";
    }
    RECT area = {};
    GetWindowRect(box, &area);
    tools::desktopprobe::ScreenReader().save(area, file);
    tools::desktopprobe::MessageBoxReader::answer(caption);
    saver.waitForExit(timeouts::WAIT_MS);
    return "";
}

void takePictures(const Folder& folder, const DeskSurvey& desk, const DeskState& before,
                  const std::string& kitFolder, AcceptanceReport& report) {
    const std::string pictures = kitFolder + PICTURES;
    CreateDirectoryA(pictures.c_str(), nullptr);
    const std::vector<std::pair<std::string, std::string>> shots = {
        {"full-screen", "The full-screen run, every monitor"},
        {"preview", "The preview in the settings dialog"},
        {"notice", "The notice for the saver's settings"}};
    for (const auto& shot : shots) {
        if (shot.first == "full-screen" && !desk.primaryOffersPictureSize()) {
            skip(report, folder.name + ".pictures", shot.first,
                 unsuitable("offering-picture-size", desk));
            continue;
        }
        const std::string name = shot.first + ".bmp";
        const std::string file = pictures + "\\" + name;
        const auto start = GetTickCount();
        std::string problem;
        try {
            if (shot.first == "full-screen") {
                const KitProgram::Result run =
                    KitProgram(folder.path + "benchdriver.exe", kitFolder + "acceptance-output.txt")
                        .run("picture saver \"" + file + "\"", timeouts::TEST_MS);
                problem = run.outcome == Outcome::PASSED ? "" : run.output;
            } else if (shot.first == "preview") {
                problem = previewPicture(folder, kitFolder + "acceptance-output.txt", file);
            } else {
                problem = noticePicture(folder, file);
            }
        } catch (const std::exception& e) {
            problem = e.what();
        }
        AcceptanceReport::Case result = {folder.name + ".pictures",
                                         shot.first,
                                         problem.empty() ? Outcome::PASSED : Outcome::FAILED,
                                         (GetTickCount() - start) / 1000.0,
                                         problem,
                                         problem};
        checkAfter(result, before, kitFolder);
        if (problem.empty()) {
            report.addPicture(shot.second, std::string(PICTURES) + "/" + name);
        }
        printResult(result);
        report.add(result);
    }
}

// The desk as the run found it: each part compared, put back where it
// differs, and compared again. Tests move the pointer, so only a pointer
// that could not be put back fails; any other part left changed does.
void checkDesk(const DeskState& before, const std::string& kitFolder, AcceptanceReport& report) {
    const std::vector<std::pair<Part, std::string>> parts = {
        {Part::DISPLAY_MODES, "DisplayModesAsFound"},
        {Part::POINTER, "PointerAsFound"},
        {Part::SAVER_SETTINGS, "ScreenSaverSettingsAsFound"}};
    for (const auto& part : parts) {
        AcceptanceReport::Case result = {"desk", part.second, Outcome::PASSED, 0, "", ""};
        const std::vector<std::string> changed = before.differences(DeskState(), part.first);
        if (!changed.empty()) {
            if (part.first != Part::POINTER) {
                addProblems(result, changed);
            }
            addProblems(result, before.restore(part.first));
            addProblems(result, before.differences(DeskState(), part.first));
        }
        printResult(result);
        report.add(result);
    }
    AcceptanceReport::Case result = {"desk", "NoProgramLeftRunning", Outcome::PASSED, 0, "", ""};
    addProblems(result, KitProcesses::endLeftOver(kitFolder));
    printResult(result);
    report.add(result);
}

int usage() {
    std::fputs("usage: run-acceptance.cmd [--switch-monitors]\n"
               "  --switch-monitors  also switch each monitor but the primary off and on, as\n"
               "                     unplugging it would (a lab machine's test)\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::string option = argc == 2 ? argv[1] : "";
    if (argc > 2 || (argc == 2 && option != "--switch-monitors")) {
        return usage();
    }
    // Monitors and scale as they are, not as a program from before scaling
    // would be shown them.
    SetProcessDPIAware();
    const Folder own = {
#ifdef _WIN64
        "x64",
#else
        "x86",
#endif
        folderOf(ChildProcess::besideThisProgram(""))};
    const std::string kitFolder = folderOf(own.path.substr(0, own.path.size() - 1));
    try {
        const DeskSurvey desk;
        std::vector<Folder> folders = {own};
        if (own.name == "x64" && desk.is64Bit()) {
            folders.push_back({"x86", kitFolder + "x86\\"});
        }
        const std::vector<Entry> entries = readList(own.path + TEST_LIST);
        if (entries.empty()) {
            std::fprintf(stderr, "The kit's list of tests is missing or empty.\nFile: %s%s\n",
                         own.path.c_str(), TEST_LIST);
            return 1;
        }
        int runnable = 0;
        for (const Entry& entry : entries) {
            runnable += unsuitable(entry.kind, desk).empty() ? 1 : 0;
        }
        const int minutes = static_cast<int>(
            std::ceil((runnable * SECONDS_A_TEST * static_cast<int>(folders.size()) +
                       SECONDS_BESIDE_THE_TESTS) /
                      60.0));
        print(std::string(app::APPLICATION_NAME) + " " + PLOVIX_VERSION +
              ": the acceptance kit runs the saver's own tests and measurements on this PC.\n"
              "While it runs, the display switches to " +
              pictureSize() +
              " and back many times, and keys,\n"
              "clicks and pointer moves are sent: leave the keyboard and mouse alone until it\n"
              "ends. It takes about " +
              std::to_string(minutes) +
              " minutes. It puts back each monitor's display mode, the pointer and the\n"
              "screen saver settings, and ends every program it started.\n" +
              (option.empty() ? "No monitor is switched off (--switch-monitors would).\n"
                              : "Each monitor but the primary is switched off and on again.\n"));
        for (const std::string& line : desk.lines()) {
            print(line);
        }
        if (!option.empty()) {
            SetEnvironmentVariableA(PLOVIX_SWITCH_MONITORS, "1");
        }
        const DeskState before;
        AcceptanceReport report;
        report.addDesk(desk.lines());
        for (const Folder& folder : folders) {
            runTests(folder, entries, desk, before, kitFolder, report);
        }
        measure(own, desk, before, kitFolder, report);
        takePictures(own, desk, before, kitFolder, report);
        checkDesk(before, kitFolder, report);
        report.write(kitFolder + "acceptance-report.xml", kitFolder + "acceptance-report.html");
        print(std::to_string(report.cases().size()) + " results, " +
              std::to_string(report.failures()) + " failed: " + kitFolder +
              "acceptance-report.html");
        return report.failures() == 0 ? 0 : 1;
    } catch (const std::exception& e) {
        std::fputs(e.what(), stderr);
        return 1;
    }
}
