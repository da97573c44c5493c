#ifndef PLOVIX_TESTS_SUPPORT_TESTWINDOW_H
#define PLOVIX_TESTS_SUPPORT_TESTWINDOW_H

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/errorresources/SystemErrors.h"
#include "windows/window/MessageMapper.h"

namespace support {

// A window class of a test's own, with the shared window procedure and the
// given background (none unless told), and one top-level window of it
// (hidden unless the style says otherwise). Both are gone when the object
// is, also when an assertion ends the test. Throws std::runtime_error, so
// that the test fails at once, when either cannot be made.
class TestWindow {
public:
    explicit TestWindow(const std::string& className, int width = 200, int height = 100,
                        DWORD style = WS_POPUP, HBRUSH background = nullptr)
        : _className(className) {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = windows::window::windowProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = background;
        windowClass.lpszClassName = _className.c_str();
        if (RegisterClassExA(&windowClass) == 0) {
            _fail("RegisterClassEx");
        }
        _handle = CreateWindowExA(0, _className.c_str(), "test window", style, 0, 0, width, height,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (_handle == nullptr) {
            const DWORD error = GetLastError();
            UnregisterClassA(_className.c_str(), GetModuleHandleA(nullptr)); // no destructor runs
            SetLastError(error);
            _fail("CreateWindowEx");
        }
    }
    ~TestWindow() {
        destroy();
        UnregisterClassA(_className.c_str(), GetModuleHandleA(nullptr));
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND handle() const { return _handle; }

    // Destroys the window before its owner goes.
    void destroy() {
        if (_handle != nullptr) {
            DestroyWindow(_handle);
            _handle = nullptr;
        }
    }

private:
    [[noreturn]] void _fail(const char* call) const {
        platform::errorresources::SystemErrors::throwLastError<std::runtime_error>(
            [&](const std::string& reason) {
                return "Could not make a test window using '" + std::string(call) +
                       "'.\nClass: " + _className + "\n" + reason;
            });
    }

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
