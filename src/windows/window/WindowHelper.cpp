#include "windows/window/WindowHelper.h"

#include <cstddef>
#include <string>

#include "platform/errorresources/SystemErrors.h"
#include "util/Assertion.h"
#include "util/Helpers.h"
#include "windows/window/CouldNotCreateWindowException.h"
#include "windows/window/CouldNotGetClassNameException.h"
#include "windows/window/CouldNotRegisterClassException.h"

namespace windows {
namespace window {

using platform::errorresources::SystemErrors;

ATOM WindowHelper::registerClass(const WNDCLASSEXA& windowClass) {
    const ATOM atom = RegisterClassExA(&windowClass);
    if (atom != 0) {
        return atom;
    }
    SystemErrors::throwLastError<CouldNotRegisterClassException>([&](const std::string& reason) {
        return "Error when registering the window class '" +
               std::string(windowClass.lpszClassName != nullptr ? windowClass.lpszClassName : "") +
               "' with 'RegisterClassEx' in WindowHelper::registerClass.\n" + reason;
    });
}

HWND WindowHelper::createWindow(DWORD exStyle, const std::string& className,
                                const std::string& title, DWORD style, int x, int y, int width,
                                int height, HWND parent, HMENU menu, HINSTANCE instance,
                                void* parameter) {
    const HWND window = CreateWindowExA(exStyle, className.c_str(), title.c_str(), style, x, y,
                                        width, height, parent, menu, instance, parameter);
    if (window != nullptr) {
        return window;
    }
    SystemErrors::throwLastError<CouldNotCreateWindowException>([&](const std::string& reason) {
        return "Error when creating a window using 'CreateWindowEx'  in "
               "indowHelper::createWindow.\nClassname: '" +
               className + "'\n" + reason;
    });
}

std::string WindowHelper::getClassName(HWND window, bool ignoreInvalidWindowHandle) {
    char buffer[1024] = {};
    SetLastError(0);
    const int ret = GetClassNameA(window, buffer, sizeof buffer);
    if (ret > 0) {
        return std::string(buffer, static_cast<std::size_t>(ret));
    }
    if (ret < 0) {
        PLOVIX_CHECK(ret > 0);
        return std::string();
    }
    const DWORD error = GetLastError();
    if (error == 0 || (error == ERROR_INVALID_WINDOW_HANDLE && ignoreInvalidWindowHandle)) {
        return std::string();
    }
    SystemErrors::throwLastError<CouldNotGetClassNameException>([&](const std::string& reason) {
        return "Couldn't get the window class name using 'GetClassName'.\nThe window handle: " +
               util::handleToString(window) + ".\n" + reason +
               "\nIgnoring invalid window handle is " +
               (ignoreInvalidWindowHandle ? "enabled" : "disabled");
    });
}

} // namespace window
} // namespace windows
