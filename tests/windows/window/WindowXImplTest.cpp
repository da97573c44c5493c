#include "windows/window/WindowXImpl.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "support/ReportDirectory.h"
#include "support/TestWindow.h"
#include "windows/window/CouldNotCreateWindowException.h"
#include "windows/window/CouldNotRegisterClassException.h"
#include "windows/window/MessageMapper.h"

namespace {

using windows::window::CouldNotCreateWindowException;
using windows::window::CouldNotRegisterClassException;
using windows::window::MessageListener;
using windows::window::WindowParameters;
using windows::window::WindowXImpl;

const UINT PROBE = WM_APP + 3;

class MessageLog : public MessageListener {
public:
    virtual ~MessageLog() = default;
    LRESULT windowCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(message);
        if (message == PROBE) {
            probes.push_back(wParam);
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    std::vector<UINT> messages;
    std::vector<WPARAM> probes;
};

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

    RECT rectOf(HWND handle) {
        RECT rect = {};
        GetWindowRect(handle, &rect);
        return rect;
    }

    const std::string className = support::uniqueClassName();
    const std::string title = "Plovix test";
    WindowXImpl window{GetModuleHandleA(nullptr)};
};

TEST_F(WindowXImplTest, TopLevelWindowIsCentredOnTheScreen) {
    window.create(parameters(640, 480));
    const RECT rect = rectOf(window.getHandle());
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 640) / 2, rect.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 480) / 2, rect.top);
    EXPECT_EQ(640, window.getWidth());
    EXPECT_EQ(480, window.getHeight());
    EXPECT_EQ(className, window.getClassName());

    window.show(true);
    EXPECT_TRUE(window.isVisible());
    window.setPosition(3, 4);
    EXPECT_EQ(3, rectOf(window.getHandle()).left);
    window.center();
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 640) / 2, rectOf(window.getHandle()).left);
}

TEST_F(WindowXImplTest, ChildSitsAtTheParentsCorner) {
    const support::TestWindow parent(support::uniqueClassName(), 300, 200);
    window.create(parameters(152, 112, WS_CHILD, parent.handle()));
    POINT corner = {0, 0};
    ClientToScreen(parent.handle(), &corner);
    EXPECT_EQ(corner.x, rectOf(window.getHandle()).left);
    EXPECT_EQ(corner.y, rectOf(window.getHandle()).top);
    EXPECT_EQ(parent.handle(), GetParent(window.getHandle()));
}

TEST_F(WindowXImplTest, ProcessMessageDispatchesOneMessageAndNeverWaits) {
    window.create(parameters(50, 50));
    MessageLog log;
    window.addMessageListener(&log);
    MSG stale;
    while (PeekMessageA(&stale, nullptr, 0, 0, PM_REMOVE) != 0) {
    }
    window.processMessage(); // empty queue: returns at once
    for (WPARAM i = 1; i <= 3; ++i) {
        PostMessageA(window.getHandle(), PROBE, i, 0);
    }
    window.processMessage();
    EXPECT_EQ(std::vector<WPARAM>{1}, log.probes);
    window.processMessage();
    window.processMessage();
    EXPECT_EQ((std::vector<WPARAM>{1, 2, 3}), log.probes);
}

TEST_F(WindowXImplTest, DestroyLetsTheListenerMissTheDestructionAndUnregistersTheClass) {
    window.create(parameters(50, 50));
    MessageLog log;
    window.addMessageListener(&log);
    const HWND handle = window.getHandle();
    window.destroy();
    window.destroy();
    EXPECT_EQ(nullptr, window.getHandle());
    EXPECT_FALSE(IsWindow(handle));
    for (const UINT message : log.messages) {
        EXPECT_NE(static_cast<UINT>(WM_DESTROY), message);
    }
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    EXPECT_EQ(0, GetClassInfoExA(GetModuleHandleA(nullptr), className.c_str(), &info));
}

TEST_F(WindowXImplTest, FailedCreateLeavesTheClassFreeForTheNextOne) {
    // A child of a window that does not exist cannot be created.
    const HWND noWindow = reinterpret_cast<HWND>(static_cast<std::intptr_t>(0x7FFF0));
    EXPECT_THROW(window.create(parameters(10, 10, WS_CHILD, noWindow)),
                 CouldNotCreateWindowException);
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
