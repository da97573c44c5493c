#ifndef PLOVIX_WINDOWS_WINDOW_WINDOWHELPER_H
#define PLOVIX_WINDOWS_WINDOW_WINDOWHELPER_H

#include <windows.h>

#include <string>

namespace windows {
namespace window {

// The three Win32 calls behind window classes and windows, each turning a
// failure into an exception that names the call and the system's reason.
class WindowHelper {
public:
    WindowHelper() = delete;

    // Throws CouldNotRegisterClassException.
    static ATOM registerClass(const WNDCLASSEXA& windowClass);
    // The menu and the creation parameter are forwarded as given: kept in
    // the interface, though every caller passes null. Throws
    // CouldNotCreateWindowException.
    static HWND createWindow(DWORD exStyle, const std::string& className, const std::string& title,
                             DWORD style, int x, int y, int width, int height, HWND parent,
                             HMENU menu, HINSTANCE instance, void* parameter);
    // "" for a window whose class has no name, and for a destroyed window
    // when `ignoreInvalidWindowHandle` is set (kept in the interface: every
    // caller clears it). Throws CouldNotGetClassNameException.
    static std::string getClassName(HWND window, bool ignoreInvalidWindowHandle);
};

} // namespace window
} // namespace windows

#endif
