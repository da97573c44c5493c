#ifndef PLOVIX_WINDOWS_WINDOW_WINDOWPARAMETERS_H
#define PLOVIX_WINDOWS_WINDOW_WINDOWPARAMETERS_H

#include <windows.h>

#include <optional>
#include <string>

namespace windows {
namespace window {

// Everything WindowXImpl::create needs to know about a window. A null
// windowClass.lpfnWndProc stands for the shared windowProcedure.
struct WindowParameters {
    WNDCLASSEXA windowClass = {};
    int width = 0;
    int height = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    // Not owned; read during create only.
    const std::string& title;
    HWND parent = nullptr;
    bool shouldRegisterClass = false;
    // Where a top-level window starts; without it, centred on the primary
    // monitor.
    std::optional<POINT> position = std::nullopt;
};

} // namespace window
} // namespace windows

#endif
