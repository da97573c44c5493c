// desktopprobe switch [<width> <height>]
//   Asks the display for a full-screen switch to that size, or the picture's,
//   as the saver does, puts the mode back and prints the result. Exit code 0
//   when the switch was accepted, 3 when it was refused.
// desktopprobe answer <caption>
//   Waits for the message box with that caption, prints its text and presses
//   its OK button. Exit code 0, or 3 when no such box came.
// desktopprobe wizard <title> <text>
//   Waits for the wizard window with that title to show a control
//   with that text (its "&" marks left out), then prints each of its
//   controls and its page's, one a line of tab-separated fields: class, id,
//   "visible" or "hidden", "enabled" or "disabled", "checked", "unchecked",
//   "items=N" for a tree or "-", and the text (line breaks as "\n"). Exit
//   code 0, or 3 when the text did not show.
// desktopprobe press <title> <text>
//   Waits for an enabled button of that wizard with that text,
//   shown or not, and clicks it. Exit code 0, or 3 when none came.
// desktopprobe names
//   Prints the saver's window title, the captions of its boxes and its notice
//   (line breaks as "\n"), the picture's full-screen size, the colours of its
//   border and text area and a point of each, one "name: value" line each, so
//   that the commands need not retype them.
// desktopprobe wine
//   Prints the Wine version and, as "name: yes" or "name: no", where that
//   Wine does what Windows documents and Wine 8 did not.
// The waits are those of cmake/PlovixTimeouts.cmake. All exit with 2 for a
// bad command line and 1 when the probe itself fails.
// The set-up and run commands use it to see what Wine really does.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/MessageBoxReporter.h"
#include "app/PlovixsaverImpl.h"
#include "app/Program.h"
#include "desktopprobe/MessageBoxReader.h"
#include "desktopprobe/WineFeatures.h"
#include "desktopprobe/WizardReader.h"
#include "picture/PictureLayout.h"
#include "platform/errorresources/SystemErrors.h"
#include "timeouts/Timeouts.h"
#include "util/StringHelper.h"
#include "windows/devices/display/WindowsDisplaySettings.h"

namespace {

using platform::errorresources::SystemErrors;
using tools::desktopprobe::MessageBoxReader;
using tools::desktopprobe::WizardReader;
using windows::devices::display::WindowsDisplaySettings;

const int ACCEPTED = 0;
const int FAILED = 1;
const int USAGE = 2;
const int REFUSED = 3;
// An installer's page may take a while on a loaded machine: it unpacks,
// writes and starts its uninstaller's copy.
const DWORD WIZARD_TIMEOUT_MS = timeouts::WINDOW_MS;

// Prints the sentence and the system's text for the failed call's error,
// which the caller reads straight after the call.
int failure(const std::string& sentence, const std::string& reason) {
    std::fputs((sentence + "\n" + reason).c_str(), stdout);
    return FAILED;
}

int probeSwitch(DWORD width, DWORD height) {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) == 0) {
        const std::string reason = SystemErrors::lastErrorText();
        return failure("Could not read the display mode using 'EnumDisplaySettings'.", reason);
    }
    char line[160];
    std::snprintf(line, sizeof line,
                  "%lux%lu -> %lux%lu: ", static_cast<unsigned long>(mode.dmPelsWidth),
                  static_cast<unsigned long>(mode.dmPelsHeight), static_cast<unsigned long>(width),
                  static_cast<unsigned long>(height));
    std::string report = line;
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    const LONG result = ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN);
    std::snprintf(line, sizeof line, "%s, result %ld (%s)\n",
                  result == DISP_CHANGE_SUCCESSFUL ? "accepted" : "refused", result,
                  WindowsDisplaySettings::resultName(result));
    std::fputs((report + line).c_str(), stdout);
    if (result != DISP_CHANGE_SUCCESSFUL) {
        return REFUSED;
    }
    const LONG restored = ChangeDisplaySettingsA(nullptr, 0);
    if (restored != DISP_CHANGE_SUCCESSFUL) {
        const std::string reason = SystemErrors::lastErrorText();
        std::snprintf(line, sizeof line, "Result: %ld (%s)", restored,
                      WindowsDisplaySettings::resultName(restored));
        return failure("Could not put the display mode back using 'ChangeDisplaySettings'.\n" +
                           std::string(line),
                       reason);
    }
    return ACCEPTED;
}

int answerBox(const std::string& caption) {
    const MessageBoxReader::Contents box = MessageBoxReader::answer(caption);
    if (!box.found) {
        return REFUSED;
    }
    std::fputs((box.text + "\n").c_str(), stdout);
    return ACCEPTED;
}

// Line breaks as "\n", so that one text stays on one line of the output.
std::string oneLine(std::string text) {
    util::StringHelper::replaceAll(text, "\r", "");
    util::StringHelper::replaceAll(text, "\n", "\\n");
    return text;
}

int readWizard(const std::string& title, const std::string& text) {
    const HWND wizard = WizardReader::awaitText(title, text, WIZARD_TIMEOUT_MS);
    if (wizard == nullptr) {
        return REFUSED;
    }
    std::string lines;
    for (const WizardReader::Control& control : WizardReader::controls(wizard)) {
        lines += control.className + "\t" + std::to_string(control.id) + "\t" +
                 (control.visible ? "visible" : "hidden") + "\t" +
                 (control.enabled ? "enabled" : "disabled") + "\t" + control.state + "\t" +
                 oneLine(control.text) + "\n";
    }
    std::fputs(lines.c_str(), stdout);
    return ACCEPTED;
}

int printNames() {
    using picture::PictureLayout;
    const app::MessageBoxReporter reporter(app::APPLICATION_NAME);
    const std::string notice = oneLine(app::PlovixsaverImpl::NOTICE);
    // The two blues as ImageMagick names the colours of a picture's pixels.
    const auto colour = [](const PictureLayout::Rgb& rgb) {
        char text[32];
        std::snprintf(text, sizeof text, "srgb(%u,%u,%u)", rgb.red, rgb.green, rgb.blue);
        return std::string(text);
    };
    // As ImageMagick names a pixel, "x,y"; a size as "widthxheight".
    const auto pair = [](int first, int second, char between) {
        return std::to_string(first) + between + std::to_string(second);
    };
    std::fputs(
        (std::string("window title: ") + app::WINDOW_TITLE + "\n" +
         "error caption: " + reporter.errorCaption() + "\n" +
         "information caption: " + reporter.informationCaption() + "\n" + "notice: " + notice +
         "\n" + "picture size: " + pair(PictureLayout::WIDTH, PictureLayout::HEIGHT, 'x') + "\n" +
         "border colour: " + colour(PictureLayout::LIGHT) + "\n" + "border point: " +
         pair(PictureLayout::BORDER_SAMPLE.x, PictureLayout::BORDER_SAMPLE.y, ',') + "\n" +
         "text area colour: " + colour(PictureLayout::DARK) + "\n" + "text area point: " +
         pair(PictureLayout::TEXT_AREA_SAMPLE.x, PictureLayout::TEXT_AREA_SAMPLE.y, ',') + "\n")
            .c_str(),
        stdout);
    return ACCEPTED;
}

int printWineFeatures() {
    const tools::desktopprobe::WineFeatures wine;
    const auto answer = [](bool yes) { return yes ? "yes\n" : "no\n"; };
    std::fputs(
        ("version: " + (wine.version().empty() ? "none" : wine.version()) + "\n" +
         "shows other processes' children: " + answer(wine.showsOtherProcessesChildren()) +
         "restores the modes of ended processes: " + answer(wine.restoresModesOfEndedProcesses()))
            .c_str(),
        stdout);
    return ACCEPTED;
}

bool parseSize(const char* text, DWORD* size) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (end == text || *end != '\0' || value == 0 || value > 65535) {
        return false;
    }
    *size = static_cast<DWORD>(value);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    DWORD width = picture::PictureLayout::WIDTH;
    DWORD height = picture::PictureLayout::HEIGHT;
    if (argc >= 2 && std::strcmp(argv[1], "switch") == 0 &&
        (argc == 2 || (argc == 4 && parseSize(argv[2], &width) && parseSize(argv[3], &height)))) {
        return probeSwitch(width, height);
    }
    if (argc == 3 && std::strcmp(argv[1], "answer") == 0) {
        return answerBox(argv[2]);
    }
    if (argc == 4 && std::strcmp(argv[1], "wizard") == 0) {
        return readWizard(argv[2], argv[3]);
    }
    if (argc == 4 && std::strcmp(argv[1], "press") == 0) {
        return WizardReader::press(argv[2], argv[3], WIZARD_TIMEOUT_MS) ? ACCEPTED : REFUSED;
    }
    if (argc == 2 && std::strcmp(argv[1], "names") == 0) {
        return printNames();
    }
    if (argc == 2 && std::strcmp(argv[1], "wine") == 0) {
        return printWineFeatures();
    }
    std::fputs("usage: desktopprobe switch [<width> <height>]\n"
               "       desktopprobe answer <caption>\n"
               "       desktopprobe wizard <title> <text>\n"
               "       desktopprobe press <title> <text>\n"
               "       desktopprobe names\n"
               "       desktopprobe wine\n",
               stderr);
    return USAGE;
}
