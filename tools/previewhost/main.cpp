// previewhost <saver.scr> [/p|/l] [seconds]
// previewhost --in-process [seconds]
// Shows the saver's preview the way the Screen Saver Settings dialog does,
// until the window is closed or the seconds have passed, and ends with the
// saver's exit code (-1 if it could not be run to its end). Prints the
// preview area's place on the screen.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "exceptions/Exception.h"
#include "previewhost/PreviewHost.h"

int main(int argc, char** argv) {
    const bool inProcess = argc >= 2 && std::string(argv[1]) == "--in-process";
    if (argc < 2 || argc > 4 || (inProcess && argc > 3)) {
        std::fprintf(stderr, "usage: previewhost <saver.scr> [/p|/l] [seconds]\n"
                             "       previewhost --in-process [seconds]\n");
        return 2;
    }
    try {
        tools::previewhost::PreviewHost host(GetModuleHandleA(nullptr));
        if (inProcess) {
            return host.runInProcess(argc == 3 ? std::atoi(argv[2]) : 0);
        }
        return host.run(argv[1], argc >= 3 ? argv[2] : "/p", argc == 4 ? std::atoi(argv[3]) : 0);
    } catch (const exceptions::Exception& e) {
        std::fprintf(stderr, "%s\n", e.getMessage().c_str());
        return -1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return -1;
    }
}
