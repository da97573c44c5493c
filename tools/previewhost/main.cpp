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
// that setting.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>

#include "exceptions/Exception.h"
#include "previewhost/ChildProcess.h"
#include "previewhost/PreviewHost.h"

namespace {

int run(int argc, char** argv) {
    const std::string first = argv[1];
    if (first == "--in-process") {
        tools::previewhost::PreviewHost host(GetModuleHandleA(nullptr));
        return host.runInProcess(argc == 3 ? std::atoi(argv[2]) : 0);
    }
    const int saverAt = first == "--setting" ? 2 : 1;
    const std::string command = saverAt == 2 ? argv[2] : "\"" + first + "\"";
    const std::string flag = argc > saverAt + 1 ? argv[saverAt + 1] : "/p";
    const int seconds = argc > saverAt + 2 ? std::atoi(argv[saverAt + 2]) : 0;
    if (flag == "/s" || flag == "/c") {
        tools::previewhost::ChildProcess saver(command + " " + flag);
        const std::optional<DWORD> code = saver.waitForExit(INFINITE);
        return code ? static_cast<int>(*code) : -1;
    }
    tools::previewhost::PreviewHost host(GetModuleHandleA(nullptr));
    return host.run(command, flag, seconds);
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
