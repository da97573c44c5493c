#include "windows/window/WindowXImpl.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "support/ReportDirectory.h"
#include "support/TestWindow.h"
#include "windows/window/CouldNotCreateWindowException.h"
#include "windows/window/MessageListener.h"
#include "windows/window/MessageMapper.h"

namespace {

using windows::window::WindowParameters;

// A listener that logs every message it gets and leaves it to the default
// handling.
class MessageLog : public windows::window::MessageListener {
public:
    static const UINT PROBE = WM_APP + 7;

    virtual ~MessageLog() = default;
    LRESULT windowCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(message);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    std::vector<UINT> messages;
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

    const std::string className = support::uniqueClassName();
    const std::string title = "Plovix test"; // outlives the parameters, which refer to it
    windows::window::WindowXImpl window{GetModuleHandleA(nullptr)};
};

TEST_F(WindowXImplTest, QueuedMessagesReachTheListenerButNoneOfTheDestruction) {
    window.create(parameters(50, 50));
    MessageLog log;
    window.addMessageListener(&log);
    for (MSG stale; PeekMessageA(&stale, nullptr, 0, 0, PM_REMOVE) != 0;) {
    }
    PostMessageA(window.getHandle(), MessageLog::PROBE, 0, 0);
    window.waitForMessage();
    window.processMessage();
    EXPECT_EQ(1, std::count(log.messages.begin(), log.messages.end(), MessageLog::PROBE));

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

// The run sizes its pictures by the window, so a window that is not there
// must not give a size.
TEST_F(WindowXImplTest, FailedCreateLeavesNoSizeAndTheClassFreeForTheNextOne) {
    const support::ReportDirectory directory;
    // A child of a window that does not exist cannot be created.
    const HWND noWindow = reinterpret_cast<HWND>(static_cast<std::intptr_t>(0x7FFF0));
    EXPECT_THROW(window.create(parameters(10, 10, WS_CHILD, noWindow)),
                 windows::window::CouldNotCreateWindowException);
    EXPECT_EQ(nullptr, window.getHandle());
    EXPECT_EQ(0, window.getWidth());
    EXPECT_EQ(0, window.getHeight());
    window.create(parameters(10, 10));
    EXPECT_NE(nullptr, window.getHandle());
}

// Windows 7 refuses the wake flags of touch and pen input, which Windows 8
// brought: the wait is asked again without them, and from then on only so.
TEST_F(WindowXImplTest, WaitRefusedForTouchAndPenFlagsIsAskedWithWindows7sFlags) {
    class Windows7Window : public windows::window::WindowXImpl {
    public:
        using WindowXImpl::WindowXImpl;
        std::vector<DWORD> masks;

    protected:
        DWORD waitForInput(DWORD wakeMask) override {
            masks.push_back(wakeMask);
            if ((wakeMask & (0x0800 | 0x1000)) != 0) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return WAIT_FAILED;
            }
            return WAIT_OBJECT_0;
        }
    } windows7{GetModuleHandleA(nullptr)};
    windows7.waitForMessage();
    windows7.waitForMessage();
    const DWORD mask = QS_MOUSE | QS_KEY | QS_RAWINPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT |
                       QS_HOTKEY | QS_SENDMESSAGE;
    EXPECT_EQ((std::vector<DWORD>{mask | 0x0800 | 0x1000, mask, mask}), windows7.masks);
}

// An entry without a listener gets the default handling, and is reported
// under the mapper's name for it.
TEST_F(WindowXImplTest, MappedWindowWithoutAListenerIsReportedAndHandledByDefault) {
    const support::ReportDirectory directory;
    window.create(parameters(50, 50));
    windows::window::MessageMapper mapper;
    mapper.add(window.getHandle(), nullptr);
    EXPECT_EQ(DefWindowProcA(window.getHandle(), WM_GETTEXTLENGTH, 0, 0),
              mapper.dispatch(window.getHandle(), WM_GETTEXTLENGTH, 0, 0));
    EXPECT_EQ(std::vector<std::string>{"ml"}, directory.failedChecks());
}

} // namespace
