#include "windows/window/WindowHelper.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/errorresources/SystemErrors.h"
#include "support/TestWindow.h"
#include "support/Thrown.h"
#include "windows/window/CouldNotCreateWindowException.h"
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

// The failure reaches the user in the run's error box.
TEST(WindowHelperTest, FailuresNameTheRequestAndGiveTheSystemsReason) {
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

    const int error = errorOf([] {
        CreateWindowExA(0, "PlovixNoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                        GetModuleHandleA(nullptr), nullptr);
    });
    EXPECT_EQ("Error when creating a window using 'CreateWindowEx'  in "
              "indowHelper::createWindow.\nClassname: 'PlovixNoSuchClass'\n" +
                  SystemErrors::map(error),
              thrown<windows::window::CouldNotCreateWindowException>([] {
                  WindowHelper::createWindow(0, "PlovixNoSuchClass", "", WS_POPUP, 0, 0, 10, 10,
                                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
              }));
}

} // namespace
