#ifndef PLOVIX_WINDOWS_SCREENSAVER_PROCESSCONTEXT_H
#define PLOVIX_WINDOWS_SCREENSAVER_PROCESSCONTEXT_H

#include <string>
#include <vector>

#include "windows/screensaver/WindowHandle.h"

namespace windows {
namespace screensaver {

// What the router asks of the process around it, behind an interface so that
// command lines and foreground windows can be played in tests.
class ProcessContext {
public:
    virtual ~ProcessContext() = default;
    // The whole command line of the process, program path included.
    virtual std::string getCommandLine() const = 0;
    virtual HWND getForegroundWindow() const = 0;
    // The paths of the running program's file, in each form the system
    // gives for it (long, short, and long and short names mixed); none when
    // they cannot be told.
    virtual std::vector<std::string> getProgramPaths() const = 0;
};

} // namespace screensaver
} // namespace windows

#endif
