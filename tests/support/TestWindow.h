#ifndef PLOVIX_TESTS_SUPPORT_TESTWINDOW_H
#define PLOVIX_TESTS_SUPPORT_TESTWINDOW_H

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "windows/window/MessageMapper.h"

namespace support {

// A window class of a test's own, with the shared window procedure, and one
// hidden top-level window of it. Both are gone when the object is.
class TestWindow {
public:
    explicit TestWindow(const std::string& className, int width = 200, int height = 100,
                        DWORD style = WS_POPUP)
        : _className(className) {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = windows::window::windowProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = _className.c_str();
        RegisterClassExA(&windowClass);
        _handle = CreateWindowExA(0, _className.c_str(), "test window", style, 0, 0, width, height,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~TestWindow() {
        if (_handle != nullptr) {
            DestroyWindow(_handle);
        }
        UnregisterClassA(_className.c_str(), GetModuleHandleA(nullptr));
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND handle() const { return _handle; }

private:
    std::string _className;
    HWND _handle = nullptr;
};

// A class name no other test uses.
inline std::string uniqueClassName() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    static int counter = 0;
    return std::string("PlovixTest_") + test->test_suite_name() + "_" + test->name() + "_" +
           std::to_string(++counter);
}

} // namespace support

#endif
