// previewhost <saver.scr> [/p|/l|/s|/c] [seconds]
// previewhost --setting <command> [/p|/l|/s|/c] [seconds]
// previewhost --in-process [seconds]
// Shows the saver's preview the way the Screen Saver Settings dialog does,
// until the window is closed or the seconds have passed, and ends with the
// saver's exit code (-1 if it could not be run to its end). Prints the
// preview area's place on the screen. /s and /c start the saver as the
// dialog's buttons do, with no window of the host's, and wait for its end.
// The dialog quotes the saver's path; --setting starts it from <command>
// instead, the user's screen saver setting as Windows keeps it (a path with
// blanks unquoted, or its short form), the way Windows starts a saver from
// that setting: the saver gets the command line as written.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>

#include "exceptions/Exception.h"
#include "previewhost/ChildProcess.h"
#include "previewhost/PreviewHost.h"

namespace {

// The file a setting names, as Windows finds it: a quoted path, or the
// shortest run of its words that names a file. Wine would quote a path with
// blanks in the command line it hands on, so the file is named apart.
std::string programOf(const std::string& setting) {
    if (!setting.empty() && setting[0] == '"') {
        return setting.substr(1, setting.find('"', 1) - 1);
    }
    for (std::string::size_type blank = setting.find(' '); blank != std::string::npos;
         blank = setting.find(' ', blank + 1)) {
        const DWORD attributes = GetFileAttributesA(setting.substr(0, blank).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            return setting.substr(0, blank);
        }
    }
    return setting;
}

int run(int argc, char** argv) {
    const std::string first = argv[1];
    if (first == "--in-process") {
        tools::previewhost::PreviewHost host(GetModuleHandleA(nullptr));
        return host.runInProcess(argc == 3 ? std::atoi(argv[2]) : 0);
    }
    const int saverAt = first == "--setting" ? 2 : 1;
    const std::string command = saverAt == 2 ? argv[2] : "\"" + first + "\"";
    const std::string program = programOf(command);
    const std::string flag = argc > saverAt + 1 ? argv[saverAt + 1] : "/p";
    const int seconds = argc > saverAt + 2 ? std::atoi(argv[saverAt + 2]) : 0;
    if (flag == "/s" || flag == "/c") {
        tools::previewhost::ChildProcess saver(command + " " + flag, program);
        const std::optional<DWORD> code = saver.waitForExit(INFINITE);
        return code ? static_cast<int>(*code) : -1;
    }
    tools::previewhost::PreviewHost host(GetModuleHandleA(nullptr));
    return host.run(command, program, flag, seconds);
}

} // namespace

int main(int argc, char** argv) {
    const bool inProcess = argc >= 2 && std::string(argv[1]) == "--in-process";
    const bool fromSetting = argc >= 2 && std::string(argv[1]) == "--setting";
    if (argc < (fromSetting ? 3 : 2) || argc > (fromSetting ? 5 : 4) || (inProcess && argc > 3)) {
        std::fprintf(stderr, "usage: previewhost <saver.scr> [/p|/l|/s|/c] [seconds]\n"
                             "       previewhost --setting <command> [/p|/l|/s|/c] [seconds]\n"
                             "       previewhost --in-process [seconds]\n");
        return 2;
    }
    try {
        return run(argc, argv);
    } catch (const exceptions::Exception& e) {
        std::fprintf(stderr, "%s\n", e.getMessage().c_str());
        return -1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return -1;
    }
}
