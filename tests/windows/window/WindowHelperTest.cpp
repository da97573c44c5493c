#include "windows/window/WindowHelper.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/errorresources/SystemErrors.h"
#include "support/TestWindow.h"
#include "windows/window/CouldNotCreateWindowException.h"
#include "windows/window/CouldNotGetClassNameException.h"
#include "windows/window/CouldNotRegisterClassException.h"

namespace {

using platform::errorresources::SystemErrors;
using windows::window::CouldNotCreateWindowException;
using windows::window::CouldNotGetClassNameException;
using windows::window::CouldNotRegisterClassException;
using windows::window::WindowHelper;

TEST(WindowHelperTest, RegisteringAClassTwiceGivesTheSystemsReason) {
    const std::string name = support::uniqueClassName();
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = name.c_str();
    EXPECT_NE(0, WindowHelper::registerClass(windowClass));
    try {
        WindowHelper::registerClass(windowClass);
        ADD_FAILURE() << "no exception";
    } catch (const CouldNotRegisterClassException& e) {
        EXPECT_EQ("Error when registering the window class '" + name +
                      "' with 'RegisterClassEx' in WindowHelper::registerClass.\n" +
                      SystemErrors::map(ERROR_CLASS_ALREADY_EXISTS),
                  e.getMessage());
    }
    UnregisterClassA(name.c_str(), GetModuleHandleA(nullptr));
}

// The code the system sets when `call` fails; Windows and Wine differ.
template <typename Call>
int errorOf(Call call) {
    SetLastError(0);
    call();
    return static_cast<int>(GetLastError());
}

TEST(WindowHelperTest, CreatingAWindowOfAnUnknownClassNamesTheClass) {
    const int error = errorOf([] {
        CreateWindowExA(0, "PlovixNoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                        GetModuleHandleA(nullptr), nullptr);
    });
    try {
        WindowHelper::createWindow(0, "PlovixNoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
        FAIL() << "no exception";
    } catch (const CouldNotCreateWindowException& e) {
        EXPECT_EQ("Error when creating a window using 'CreateWindowEx'  in "
                  "indowHelper::createWindow.\nClassname: 'PlovixNoSuchClass'\n" +
                      SystemErrors::map(error),
                  e.getMessage());
    }
}

TEST(WindowHelperTest, ClassNameOfADestroyedWindowIsEmptyOnlyWhenIgnored) {
    const std::string name = support::uniqueClassName();
    HWND gone = nullptr;
    {
        const support::TestWindow window(name);
        EXPECT_EQ(name, WindowHelper::getClassName(window.handle(), false));
        gone = window.handle();
    }
    char buffer[64];
    const int error = errorOf([&] { GetClassNameA(gone, buffer, sizeof buffer); });
    // Windows reports a destroyed window as an invalid handle; Wine 8 as an
    // invalid parameter, which is not ignored.
    if (error == ERROR_INVALID_WINDOW_HANDLE) {
        EXPECT_EQ("", WindowHelper::getClassName(gone, true));
    } else {
        EXPECT_THROW(WindowHelper::getClassName(gone, true), CouldNotGetClassNameException);
    }
    try {
        WindowHelper::getClassName(gone, false);
        FAIL() << "no exception";
    } catch (const CouldNotGetClassNameException& e) {
        char handle[16];
        std::snprintf(handle, sizeof handle, "%08X",
                      static_cast<unsigned int>(reinterpret_cast<std::uintptr_t>(gone)));
        EXPECT_EQ("Couldn't get the window class name using 'GetClassName'.\nThe window handle: " +
                      std::string(handle) + ".\n" + SystemErrors::map(error) +
                      "\nIgnoring invalid window handle is disabled",
                  e.getMessage());
    }
}

} // namespace
