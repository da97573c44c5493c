// Runs on a display of two 1024x768 monitors whose primary really switches
// to 800x600: the second one right of the primary, or left of it at negative
// x. The second monitor is switched off and on by the X server's own tool,
// as a monitor unplugged and plugged in again would be.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/Program.h"
#include "desktopprobe/InputSender.h"
#include "desktopprobe/ScreenReader.h"
#include "picture/PictureLayout.h"
#include "support/Blinks.h"
#include "support/SaverProcess.h"
#include "support/TestWindow.h"
#include "support/Waiting.h"
#include "windows/devices/display/WindowsDisplaySettings.h"
#include "windows/graphics/PictureColours.h"

namespace {

using picture::PictureLayout;
using support::endWith;
using support::saverCommand;
using support::SaverProcess;
using support::waitUntil;
using tools::desktopprobe::InputSender;
using windows::graphics::PictureColours;

// What the desktop shows here; the saver never does.
const COLORREF DESKTOP = RGB(255, 255, 255);

// The monitors as this process sees them, the primary first.
std::vector<RECT> monitors() {
    std::vector<RECT> found = windows::devices::display::WindowsDisplaySettings().getMonitorAreas();
    std::stable_partition(found.begin(), found.end(),
                          [](const RECT& area) { return area.left == 0 && area.top == 0; });
    return found;
}

// Waits until this process sees that layout: another process's change need
// not be seen here at once.
bool layoutBecomes(const std::vector<RECT>& expected) {
    return waitUntil([&] {
        const std::vector<RECT> now = monitors();
        return std::equal(now.begin(), now.end(), expected.begin(), expected.end(),
                          [](const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; });
    });
}

// The second monitor as this process sees it now.
RECT second() {
    const std::vector<RECT> now = monitors();
    return now.size() == 2 ? now[1] : RECT{};
}

// The saver's shown window over a monitor other than the switched one: the
// one of its windows that never takes activation.
HWND coverOf(const SaverProcess& saver) {
    for (HWND window = FindWindowExA(nullptr, nullptr, app::WINDOW_CLASS_NAME, nullptr);
         window != nullptr;
         window = FindWindowExA(nullptr, window, app::WINDOW_CLASS_NAME, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == saver.id() && IsWindowVisible(window) &&
            (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_NOACTIVATE) != 0) {
            return window;
        }
    }
    return nullptr;
}

// Runs the X server's own tool, xrandr, with the given arguments, and waits
// until this process sees as many monitors as it makes. Wine starts a Linux
// program for CreateProcess but gives no handle to wait on.
void xrandr(const std::string& arguments, std::size_t monitorsAfter) {
    std::string commandLine = "/usr/bin/xrandr " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    ASSERT_NE(0, CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                nullptr, &startup, &started))
        << commandLine;
    for (const HANDLE handle : {started.hThread, started.hProcess}) {
        if (handle != nullptr) {
            CloseHandle(handle);
        }
    }
    ASSERT_TRUE(waitUntil([&] { return monitors().size() == monitorsAfter; })) << commandLine;
}

// The top left corner of the picture shown 1:1 in the middle of the second
// monitor.
POINT pictureOnSecond() {
    const RECT monitor = second();
    return POINT{monitor.left + (1024 - PictureLayout::WIDTH) / 2,
                 monitor.top + (768 - PictureLayout::HEIGHT) / 2};
}

class TwoMonitorEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(waitUntil([&] {
            _desktop = monitors();
            return _desktop.size() == 2 && _desktop[0].right == 1024 && _desktop[0].bottom == 768;
        })) << "this test needs two 1024x768 monitors whose primary switches";
        _right = _desktop[1].left > 0;
    }
    // A test that failed half-way leaves the next one the desktop's layout.
    void TearDown() override {
        if (!layoutBecomes(_desktop)) {
            ChangeDisplaySettingsA(nullptr, 0);
            switchSecondOn();
        }
    }

    void switchSecondOn() {
        xrandr(std::string("--output DUMMY1 --auto ") + (_right ? "--right-of" : "--left-of") +
                   " DUMMY0",
               2);
    }

    // Whether the run covers both monitors: the primary switched, the second
    // covered by a window of its own that shows the picture 1:1 centred on
    // black. Says what it saw last when not.
    static ::testing::AssertionResult coversBoth(const SaverProcess& saver) {
        std::string seen;
        const bool covered = waitUntil([&] {
            const tools::desktopprobe::ScreenReader screen;
            const RECT monitor = second();
            const POINT picture = pictureOnSecond();
            RECT place = {};
            GetWindowRect(coverOf(saver), &place);
            const COLORREF colours[] = {screen.pixel(monitor.left + 5, monitor.top + 5),
                                        screen.pixel(picture.x + 10, picture.y + 10),
                                        screen.pixel(picture.x + 400, picture.y + 300)};
            seen = "screen width " + std::to_string(GetSystemMetrics(SM_CXSCREEN)) +
                   ", second monitor's window at " + std::to_string(place.left) + "," +
                   std::to_string(place.top) + ", colours " + std::to_string(colours[0]) + " " +
                   std::to_string(colours[1]) + " " + std::to_string(colours[2]);
            return GetSystemMetrics(SM_CXSCREEN) == PictureLayout::WIDTH &&
                   EqualRect(&place, &monitor) != 0 && colours[0] == RGB(0, 0, 0) &&
                   colours[1] == PictureColours::LIGHT && colours[2] == PictureColours::DARK;
        });
        return covered ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << seen;
    }

    std::vector<RECT> _desktop;
    bool _right = true;
};

// Every 32nd pixel of every monitor that shows the desktop's colour.
int desktopPixelsShown() {
    const tools::desktopprobe::ScreenReader screen;
    int shown = 0;
    for (const RECT& monitor : monitors()) {
        for (int y = monitor.top; y < monitor.bottom; y += 32) {
            for (int x = monitor.left; x < monitor.right; x += 32) {
                shown += screen.pixel(x, y) == DESKTOP ? 1 : 0;
            }
        }
    }
    return shown;
}

TEST_F(TwoMonitorEndToEndTest, BothMonitorsShowThePictureUntilInputOnEitherEndsTheRun) {
    // The desktop, white on each monitor, painted when the system asks. One
    // window a monitor: Wine 10 keeps a window to one monitor.
    std::vector<std::unique_ptr<support::TestWindow>> desktop;
    for (const RECT& monitor : monitors()) {
        desktop.push_back(std::make_unique<support::TestWindow>(
            support::uniqueClassName(), monitor.right - monitor.left, monitor.bottom - monitor.top,
            WS_POPUP | WS_VISIBLE, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))));
        SetWindowPos(desktop.back()->handle(), HWND_BOTTOM, monitor.left, monitor.top, 0, 0,
                     SWP_NOSIZE | SWP_NOACTIVATE);
    }
    ASSERT_TRUE(waitUntil([&] {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
            DispatchMessageA(&message);
        }
        return desktopPixelsShown() > 1000;
    }));

    const std::pair<const char*, std::function<void(SaverProcess&)>> endings[] = {
        {"click on the second monitor",
         [](SaverProcess& saver) {
             endWith(saver, [] {
                 const RECT monitor = second();
                 InputSender::moveMouseTo(monitor.left + 500, monitor.top + 400);
                 InputSender::click();
             });
         }},
        // More than 50 moves after more than two seconds, all over the
        // second monitor; the count is the exit rule's own test.
        {"mouse moves over the second monitor",
         [](SaverProcess& saver) {
             const RECT monitor = second();
             InputSender::moveMouseTo(monitor.left + 300, monitor.top + 300);
             EXPECT_TRUE(waitUntil([] {
                 CURSORINFO pointer = {};
                 pointer.cbSize = sizeof pointer;
                 return GetCursorInfo(&pointer) != 0 && pointer.hCursor == nullptr;
             })) << "a pointer over the second monitor";
             ASSERT_EQ(SaverProcess::STILL_RUNNING, saver.waitForExit(3200));
             int moves = 0;
             while (moves < 500 && saver.waitForExit(30) == SaverProcess::STILL_RUNNING) {
                 InputSender::moveMouseTo(monitor.left + 300 + (moves % 2) * 20, monitor.top + 300);
                 ++moves;
             }
             EXPECT_GE(moves, 35);
         }},
        {"key", [](SaverProcess& saver) { endWith(saver, [] { InputSender::key(VK_SPACE); }); }},
    };
    for (const auto& ending : endings) {
        SaverProcess saver(saverCommand("/s"));
        ASSERT_TRUE(coversBoth(saver)) << ending.first;
        EXPECT_EQ(0, desktopPixelsShown()) << ending.first;
        if (&ending == endings) {
            // The block on the second monitor keeps changing between the
            // blues, and the loop sleeps between the blinks: read from a
            // blink on, as on one monitor.
            const POINT picture = pictureOnSecond();
            const int x = picture.x + PictureLayout::CURSOR_LEFT + 8;
            const int y = picture.y + PictureLayout::CURSOR_TOP + 8;
            ASSERT_EQ(1u, support::blinks(x, y, 1).size());
            const double busyBefore = support::loopProcessorMs(saver);
            const auto watched = std::chrono::steady_clock::now();
            ASSERT_EQ(4u, support::blinks(x, y, 4).size());
            EXPECT_LT(
                support::loopShare(saver, busyBefore, std::chrono::steady_clock::now() - watched),
                support::IDLE_LOOP_SHARE);
        }
        ending.second(saver);
        EXPECT_EQ(0, saver.waitForExit(timeouts::WAIT_MS)) << ending.first;
        EXPECT_TRUE(layoutBecomes(_desktop)) << ending.first;
        EXPECT_EQ(nullptr, coverOf(saver)) << ending.first;
    }
}

// A monitor switched off and on again during a run: the run goes on and
// covers the monitors there are, and still ends as always.
TEST_F(TwoMonitorEndToEndTest, RunFollowsASecondMonitorSwitchedOffAndOn) {
    SaverProcess saver(saverCommand("/s"));
    ASSERT_TRUE(coversBoth(saver));
    xrandr("--output DUMMY1 --off", 1);
    EXPECT_TRUE(waitUntil([&] { return coverOf(saver) == nullptr; }));
    EXPECT_EQ(SaverProcess::STILL_RUNNING, saver.waitForExit(0));
    switchSecondOn();
    EXPECT_TRUE(coversBoth(saver));
    EXPECT_EQ(SaverProcess::STILL_RUNNING, saver.waitForExit(0));
    endWith(saver, [] { InputSender::key(VK_SPACE); });
    EXPECT_EQ(0, saver.waitForExit(0));
}

} // namespace
