#ifndef PLOVIX_WINDOWS_SCREENSAVER_WINDOWSPROCESSCONTEXT_H
#define PLOVIX_WINDOWS_SCREENSAVER_WINDOWSPROCESSCONTEXT_H

#include "windows/screensaver/ProcessContext.h"

namespace windows {
namespace screensaver {

// GetCommandLineA, GetForegroundWindow and GetModuleFileNameA of the running
// process.
class WindowsProcessContext : public ProcessContext {
public:
    std::string getCommandLine() const override;
    HWND getForegroundWindow() const override;
    std::vector<std::string> getProgramPaths() const override;
};

} // namespace screensaver
} // namespace windows

#endif
