#include "windows/screensaver/WindowsProcessContext.h"

#include <windows.h>

namespace windows {
namespace screensaver {

std::string WindowsProcessContext::getCommandLine() const {
    const char* commandLine = GetCommandLineA();
    return commandLine != nullptr ? std::string(commandLine) : std::string();
}

HWND WindowsProcessContext::getForegroundWindow() const {
    return GetForegroundWindow();
}

} // namespace screensaver
} // namespace windows
