#include "windows/window/WindowHelper.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/errorresources/SystemErrors.h"
#include "support/TestWindow.h"
#include "support/Thrown.h"
#include "windows/window/CouldNotCreateWindowException.h"
#include "windows/window/CouldNotGetClassNameException.h"
#include "windows/window/CouldNotRegisterClassException.h"

namespace {

using platform::errorresources::SystemErrors;
using support::thrown;
using windows::window::WindowHelper;

// The code the system sets when `call` fails; Windows and Wine differ.
template <typename Call>
int errorOf(Call call) {
    SetLastError(0);
    call();
    return static_cast<int>(GetLastError());
}

TEST(WindowHelperTest, RegisteringAClassTwiceGivesTheSystemsReason) {
    const std::string name = support::uniqueClassName();
    const support::TestWindow window(name);
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = name.c_str();
    EXPECT_EQ("Error when registering the window class '" + name +
                  "' with 'RegisterClassEx' in WindowHelper::registerClass.\n" +
                  SystemErrors::map(ERROR_CLASS_ALREADY_EXISTS),
              thrown<windows::window::CouldNotRegisterClassException>(
                  [&] { WindowHelper::registerClass(windowClass); }));
}

TEST(WindowHelperTest, CreatingAWindowOfAnUnknownClassNamesTheClass) {
    const auto create = [] {
        return WindowHelper::createWindow(0, "PlovixNoSuchClass", "", WS_POPUP, 0, 0, 10, 10,
                                          nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    };
    const int error = errorOf([] {
        CreateWindowExA(0, "PlovixNoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                        GetModuleHandleA(nullptr), nullptr);
    });
    EXPECT_EQ("Error when creating a window using 'CreateWindowEx'  in "
              "indowHelper::createWindow.\nClassname: 'PlovixNoSuchClass'\n" +
                  SystemErrors::map(error),
              thrown<windows::window::CouldNotCreateWindowException>(create));
}

TEST(WindowHelperTest, ClassNameOfADestroyedWindowIsEmptyOnlyWhenIgnored) {
    HWND gone = nullptr;
    {
        const support::TestWindow window(support::uniqueClassName());
        gone = window.handle();
    }
    char buffer[64];
    const int error = errorOf([&] { GetClassNameA(gone, buffer, sizeof buffer); });
    // Windows reports a destroyed window as an invalid handle, which may be
    // ignored; Wine 8 as an invalid parameter, which is not.
    if (error == ERROR_INVALID_WINDOW_HANDLE) {
        EXPECT_EQ("", WindowHelper::getClassName(gone, true));
    }
    char handle[16];
    std::snprintf(handle, sizeof handle, "%08X",
                  static_cast<unsigned int>(reinterpret_cast<std::uintptr_t>(gone)));
    EXPECT_EQ("Couldn't get the window class name using 'GetClassName'.\nThe window handle: " +
                  std::string(handle) + ".\n" + SystemErrors::map(error) +
                  "\nIgnoring invalid window handle is disabled",
              thrown<windows::window::CouldNotGetClassNameException>(
                  [&] { WindowHelper::getClassName(gone, false); }));
}

} // namespace
