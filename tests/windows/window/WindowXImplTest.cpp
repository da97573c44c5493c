#include "windows/window/WindowXImpl.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "support/MessageLog.h"
#include "support/ReportDirectory.h"
#include "support/TestWindow.h"
#include "windows/window/CouldNotCreateWindowException.h"

namespace {

using support::MessageLog;
using windows::window::WindowParameters;

class WindowXImplTest : public ::testing::Test {
protected:
    WindowParameters parameters(int width, int height, DWORD style = WS_POPUP,
                                HWND parent = nullptr) {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = className.c_str();
        return WindowParameters{windowClass, width, height, style, 0, title, parent, true};
    }
    int left() {
        RECT rect = {};
        GetWindowRect(window.getHandle(), &rect);
        return rect.left;
    }

    const std::string className = support::uniqueClassName();
    const std::string title = "Plovix test";
    windows::window::WindowXImpl window{GetModuleHandleA(nullptr)};
};

TEST_F(WindowXImplTest, TopLevelWindowIsCentredOnTheScreen) {
    window.create(parameters(640, 480));
    RECT rect = {};
    GetWindowRect(window.getHandle(), &rect);
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 640) / 2, rect.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 480) / 2, rect.top);
    EXPECT_EQ(640, window.getWidth());
    EXPECT_EQ(480, window.getHeight());
    EXPECT_EQ(className, window.getClassName());
    window.show(true);
    EXPECT_TRUE(window.isVisible());
    window.setPosition(3, 4);
    EXPECT_EQ(3, left());
    window.center();
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 640) / 2, left());
}

TEST_F(WindowXImplTest, MessagesComeOneAtATimeAndNoneOfTheDestruction) {
    window.create(parameters(50, 50));
    MessageLog log;
    window.addMessageListener(&log);
    for (MSG stale; PeekMessageA(&stale, nullptr, 0, 0, PM_REMOVE) != 0;) {
    }
    window.processMessage(); // empty queue: returns at once
    for (WPARAM i = 1; i <= 3; ++i) {
        PostMessageA(window.getHandle(), MessageLog::PROBE, i, 0);
    }
    window.processMessage();
    ASSERT_EQ(1u, log.probes.size());
    EXPECT_EQ(1u, log.probes[0].wParam);

    const HWND handle = window.getHandle();
    window.destroy();
    window.destroy();
    EXPECT_EQ(nullptr, window.getHandle());
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(log.messages.end(), std::find(log.messages.begin(), log.messages.end(), WM_DESTROY));
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    EXPECT_EQ(0, GetClassInfoExA(GetModuleHandleA(nullptr), className.c_str(), &info));
}

TEST_F(WindowXImplTest, FailedCreateLeavesTheClassFreeForTheNextOne) {
    // A child of a window that does not exist cannot be created.
    const HWND noWindow = reinterpret_cast<HWND>(static_cast<std::intptr_t>(0x7FFF0));
    EXPECT_THROW(window.create(parameters(10, 10, WS_CHILD, noWindow)),
                 windows::window::CouldNotCreateWindowException);
    EXPECT_EQ(nullptr, window.getHandle());
    window.create(parameters(10, 10));
    EXPECT_NE(nullptr, window.getHandle());
}

TEST_F(WindowXImplTest, SizeOfNoWindowIsReportedAsZero) {
    support::ReportDirectory directory;
    EXPECT_EQ(0, window.getWidth());
    EXPECT_EQ(0, window.getHeight());
    window.show(true);
    EXPECT_EQ((std::vector<std::string>{"ret", "ret", "_handle"}), directory.failedChecks());
}

} // namespace
