#include "app/PlovixsaverImpl.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

#include "app/InputExitPolicy.h"
#include "app/resources/ResourceIds.h"
#include "exceptions/IllegalArgumentException.h"
#include "picture/PictureLayout.h"
#include "platform/errorresources/SystemErrors.h"
#include "support/FakeDisplaySettings.h"
#include "support/RecordingReporter.h"
#include "support/ReportDirectory.h"
#include "support/TestWindow.h"
#include "windows/graphics/PictureColours.h"

namespace {

const UINT MARKER = WM_APP + 11;
const COLORREF DARK = windows::graphics::PictureColours::DARK;
const COLORREF LIGHT = windows::graphics::PictureColours::LIGHT;
using picture::PictureLayout;
const WPARAM BLINK_TIMER = PictureLayout::BLINK_TIMER;
// The cursor cell at 800x600, 16 x 16: the block's 17 rows are shrunk to 16.
const RECT CURSOR = {PictureLayout::CURSOR_LEFT, PictureLayout::CURSOR_TOP,
                     PictureLayout::CURSOR_LEFT + PictureLayout::CELL,
                     PictureLayout::CURSOR_TOP + PictureLayout::CELL};
const int PREVIEW_WIDTH = PictureLayout::PREVIEW_WIDTH;
const int PREVIEW_HEIGHT = PictureLayout::PREVIEW_HEIGHT;

// The real exit rule, with a way in for the test at the one moment a run has
// its window and pictures but has not started its loop, and a way to make the
// rule fail as any code run for a message may. A fatal failure inside the
// test's code returns from that code only; the run then ends at once, as a
// failure of the rule, rather than at CTest's timeout.
class HookedPolicy : public app::InputExitPolicy {
public:
    bool shouldExit(unsigned int message, std::uintptr_t wParam) override {
        if (onMessage) {
            onMessage(message);
        }
        endAfterFatalFailure();
        if (failOnKey && message == WM_KEYDOWN) {
            throw exceptions::IllegalArgumentException("no rule for keys");
        }
        return InputExitPolicy::shouldExit(message, wParam);
    }
    void reset() override {
        InputExitPolicy::reset();
        if (hook) {
            hook();
        }
        endAfterFatalFailure();
    }
    std::function<void()> hook;
    std::function<void(unsigned int)> onMessage;
    bool failOnKey = false;

private:
    static void endAfterFatalFailure() {
        if (::testing::Test::HasFatalFailure()) {
            throw exceptions::IllegalArgumentException("a fatal failure of the test");
        }
    }
};

// The saver, with the period of every blink timer it asks for.
class TimedSaver : public app::PlovixsaverImpl {
public:
    using PlovixsaverImpl::PlovixsaverImpl;
    std::vector<UINT> periods;

protected:
    void startBlinkTimer(HWND window, UINT_PTR timer, UINT periodMs) override {
        periods.push_back(periodMs);
        PlovixsaverImpl::startBlinkTimer(window, timer, periodMs);
    }
};

// A run asks for the blink's timer as it starts and again at every blink,
// each time for 350 ms.
void expectBlinksEvery350Ms(const TimedSaver& saver) {
    EXPECT_LE(2u, saver.periods.size());
    EXPECT_EQ(std::vector<UINT>(saver.periods.size(), 350), saver.periods);
}

// Whether the marker posted during a run is still queued: the loop ended
// without taking it. Removes it either way.
bool markerStillQueued() {
    MSG message;
    return PeekMessageA(&message, nullptr, MARKER, MARKER, PM_REMOVE) != 0;
}

bool updates(HWND window, const RECT& expected) {
    RECT rect = {};
    GetUpdateRect(window, &rect, FALSE);
    return EqualRect(&rect, &expected) != 0;
}

COLORREF pixel(HWND window, int x, int y) {
    const HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

// Whether `upper` lies above `lower` in the z-order.
bool above(HWND upper, HWND lower) {
    for (HWND w = GetWindow(lower, GW_HWNDPREV); w != nullptr; w = GetWindow(w, GW_HWNDPREV)) {
        if (w == upper) {
            return true;
        }
    }
    return false;
}

class PlovixsaverImplTest : public ::testing::Test {
public:
    // The pictures could throw on release; they never do here.
    ~PlovixsaverImplTest() noexcept override {}

protected:
    PlovixsaverImplTest() {
        SetCursor(arrow);
        reporter.onReport = [this] {
            restoredAtReport = display.restored();
            cursorAtReport = GetCursor();
            windowGoneAtReport = saverWindow() == nullptr;
        };
    }

    HWND saverWindow() const { return FindWindowA(className.c_str(), nullptr); }

    support::RecordingReporter reporter;
    support::FakeDisplaySettings display;
    HookedPolicy policy;
    const std::string className = support::uniqueClassName();
    TimedSaver saver{&reporter, &display, &policy, "Plovix test", className};
    const HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    bool restoredAtReport = false;
    HCURSOR cursorAtReport = nullptr;
    bool windowGoneAtReport = false;
};

// The picture lies over a top-most task bar.
TEST_F(PlovixsaverImplTest, FullScreenRunEndsAtAKeyAndPutsModeAndPointerBack) {
    const support::TestWindow taskBar(support::uniqueClassName(), 800, 40, WS_POPUP | WS_VISIBLE);
    SetWindowPos(taskBar.handle(), HWND_TOPMOST, 0, 560, 800, 40, SWP_NOACTIVATE);
    policy.hook = [&] {
        EXPECT_TRUE(above(saverWindow(), taskBar.handle()));
        EXPECT_EQ(nullptr, GetCursor());
        saver.windowCallback(saverWindow(), WM_KEYDOWN, VK_SPACE, 0);
        PostThreadMessageA(GetCurrentThreadId(), MARKER, 0, 0);
    };
    saver.runScreensaver();
    EXPECT_TRUE(markerStillQueued()) << "the run went on after the key";
    // The user's own mode comes back, whatever mode was in force at the start.
    EXPECT_EQ((std::vector<std::string>{"get 4294967295", "set 800x600 4 at 144 Hz", "set null 0"}),
              display.calls);
    EXPECT_EQ(arrow, GetCursor());
    EXPECT_EQ(nullptr, saverWindow());
    EXPECT_EQ(std::vector<std::string>{}, reporter.errors);
}

// A box shown from inside the window procedure would sit under the top-most
// window with the pointer hidden: the run ends and shows the failure once.
TEST_F(PlovixsaverImplTest, FailureInsideAMessageEndsTheRunAndIsShownOnceAfterwards) {
    policy.failOnKey = true;
    policy.hook = [&] {
        saver.windowCallback(saverWindow(), WM_KEYDOWN, VK_SPACE, 0);
        saver.windowCallback(saverWindow(), WM_KEYDOWN, VK_SPACE, 0);
    };
    saver.runScreensaver();
    EXPECT_EQ(std::vector<std::string>{"Exception caught in 'windowCallback'.\nno rule for keys"},
              reporter.errors);
    EXPECT_TRUE(restoredAtReport && windowGoneAtReport);
    EXPECT_EQ(arrow, cursorAtReport);
}

TEST_F(PlovixsaverImplTest, FailedRestoreIsReportedOnceNotThrownAndAfterTheRunsFailure) {
    display.refuseRestore = true;
    policy.hook = [&] { saver.windowCallback(saverWindow(), WM_LBUTTONDOWN, 0, 0); };
    EXPECT_NO_THROW(saver.runScreensaver());
    ASSERT_EQ(1u, reporter.errors.size());
    EXPECT_NE(std::string::npos, reporter.errors[0].find("Flags: 0\n"));
    EXPECT_EQ(3u, display.calls.size());
    EXPECT_EQ(arrow, cursorAtReport);

    const support::TestWindow taken(className); // the run itself fails too
    saver.runScreensaver();
    ASSERT_EQ(3u, reporter.errors.size());
    EXPECT_EQ(0u, reporter.errors[1].find("Exception caught in 'runScreensaver'.\nError when "
                                          "registering the window class '" +
                                          className + "'"));
    EXPECT_NE(std::string::npos, reporter.errors[2].find("Flags: 0\n"));
}

// Many monitors offer 800x600 only at 60 Hz: a switch refused at the
// desktop's rate is asked once more at the display's default rate.
TEST_F(PlovixsaverImplTest, SwitchRefusedAtTheDesktopsRateIsTriedAtTheDefaultRate) {
    display.refuseRate = true;
    policy.hook = [&] { saver.windowCallback(saverWindow(), WM_KEYDOWN, VK_SPACE, 0); };
    saver.runScreensaver();
    EXPECT_EQ((std::vector<std::string>{"get 4294967295", "set 800x600 4 at 144 Hz",
                                        "set 800x600 4", "set null 0"}),
              display.calls);
    EXPECT_EQ(std::vector<std::string>{}, reporter.errors);
}

TEST_F(PlovixsaverImplTest, BlinkRepaintsOnlyTheCursorCell) {
    policy.hook = [&] {
        const HWND window = saverWindow();
        EXPECT_EQ(0, saver.windowCallback(window, WM_SETCURSOR, 0, 0));
        EXPECT_EQ(1, saver.windowCallback(window, WM_ERASEBKGND, 0, 0));
        UpdateWindow(window); // the first paint: picture and empty block
        EXPECT_EQ(LIGHT, pixel(window, 40, 40));
        EXPECT_EQ(DARK, pixel(window, CURSOR.left, CURSOR.top));

        saver.windowCallback(window, WM_TIMER, BLINK_TIMER, 0);
        EXPECT_TRUE(updates(window, CURSOR));
        const HDC dc = GetDC(window);
        SetPixel(dc, 405, 405, RGB(255, 0, 0));
        ReleaseDC(window, dc);
        UpdateWindow(window); // the blink paint: the block only
        EXPECT_EQ(LIGHT, pixel(window, CURSOR.left, CURSOR.top));
        EXPECT_EQ(LIGHT, pixel(window, 95, 203)); // 203, not 205: Wine blends 17 rows into 16
        EXPECT_EQ(RGB(255, 0, 0), pixel(window, 405, 405));

        InvalidateRect(window, nullptr, FALSE); // anything else: picture, then the next block
        UpdateWindow(window);
        EXPECT_EQ(DARK, pixel(window, 405, 405));
        EXPECT_EQ(DARK, pixel(window, CURSOR.left, CURSOR.top));
        saver.windowCallback(window, WM_KEYDOWN, VK_SPACE, 0);
    };
    saver.runScreensaver();
    expectBlinksEvery350Ms(saver);
    EXPECT_EQ(std::vector<std::string>{}, reporter.errors);
}

TEST_F(PlovixsaverImplTest, PreviewFillsItsParentAndOnlyClosingEndsIt) {
    const support::TestWindow parent(support::uniqueClassName(), PREVIEW_WIDTH, PREVIEW_HEIGHT,
                                     WS_POPUP | WS_VISIBLE);
    policy.hook = [&] {
        const HWND window = GetWindow(parent.handle(), GW_CHILD);
        ASSERT_NE(nullptr, window);
        EXPECT_TRUE(
            updates(window, RECT{0, 0, PREVIEW_WIDTH, PREVIEW_HEIGHT})); // nothing painted yet
        UpdateWindow(window);
        saver.windowCallback(window, WM_TIMER, BLINK_TIMER, 0);
        EXPECT_TRUE(updates(window, RECT{15, 35, 18, 38}));
        for (const UINT input : {UINT{WM_KEYDOWN}, UINT{WM_LBUTTONDOWN}, UINT{WM_ACTIVATEAPP}}) {
            saver.windowCallback(window, input, 0, 0);
        }
        for (int i = 0; i < 60; ++i) {
            saver.windowCallback(window, WM_MOUSEMOVE, 0, 0);
        }
        PostThreadMessageA(GetCurrentThreadId(), MARKER, 0, 0);
        PostMessageA(window, WM_CLOSE, 0, 0);
    };
    saver.runPreview(parent.handle());
    EXPECT_FALSE(markerStillQueued()) << "input ended the preview";
    EXPECT_EQ(nullptr, GetWindow(parent.handle(), GW_CHILD));
    EXPECT_TRUE(display.calls.empty());
    expectBlinksEvery350Ms(saver);
    EXPECT_EQ(std::vector<std::string>{}, reporter.errors);
}

// The desktop window is a window, but a preview filling it would be a second
// desktop that nothing closes: it is refused as a handle of no window is,
// the handle in the house's format.
TEST_F(PlovixsaverImplTest, PreviewIntoTheDesktopWindowIsRefused) {
    bool ran = false;
    policy.hook = [&] {
        ran = true;
        saver.windowCallback(saverWindow(), WM_CLOSE, 0, 0);
    };
    const HWND desktop = GetDesktopWindow();
    saver.runPreview(desktop);
    EXPECT_FALSE(ran);
    char handle[16];
    std::snprintf(handle, sizeof handle, "%08X",
                  static_cast<unsigned int>(reinterpret_cast<std::uintptr_t>(desktop)));
    EXPECT_EQ(std::vector<std::string>{"Exception caught in 'runPreview'.\nCould not show the "
                                       "preview using 'IsWindow'.\nParent: " +
                                       std::string(handle) + "\n" +
                                       platform::errorresources::SystemErrors::map(
                                           ERROR_INVALID_WINDOW_HANDLE)},
              reporter.errors);
}

// The windows of a run of the class: its own, the one that can take
// activation, and another, with its place on the screen, and the number of
// such others.
struct RunWindows {
    HWND own = nullptr;
    HWND cover = nullptr;
    RECT coverPlace = {};
    int covers = 0;
};

RunWindows runWindows(const std::string& className) {
    RunWindows found;
    for (HWND w = FindWindowA(className.c_str(), nullptr); w != nullptr;
         w = FindWindowExA(nullptr, w, className.c_str(), nullptr)) {
        const bool covers = (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_NOACTIVATE) != 0;
        (covers ? found.cover : found.own) = w;
        found.covers += covers ? 1 : 0;
    }
    if (found.cover != nullptr) {
        GetWindowRect(found.cover, &found.coverPlace);
    }
    return found;
}

COLORREF screenPixel(int x, int y) {
    return pixel(nullptr, x, y);
}

// A second monitor, here a part of the screen, gets a top-most window that
// leaves the run's window active and shows the picture fitted and centred
// on black, its block in step with the run's whichever paints first. A new
// layout is followed, whether the system tells of it or only the blink finds
// it.
TEST_F(PlovixsaverImplTest, OtherMonitorsAreCoveredInStepAndFollowTheLayout) {
    display.monitors = {RECT{0, 0, 800, 600}, RECT{200, 100, 500, 400}};
    const UINT moved = WM_APP + 12;
    HWND cover = nullptr;
    policy.hook = [&] {
        const RunWindows windows = runWindows(className);
        const HWND own = windows.own;
        cover = windows.cover;
        ASSERT_NE(nullptr, cover);
        EXPECT_TRUE(EqualRect(&windows.coverPlace, &display.monitors[1]));
        EXPECT_NE(0, GetWindowLongA(cover, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(own, GetForegroundWindow());
        EXPECT_EQ(MA_NOACTIVATE, saver.windowCallback(cover, WM_MOUSEACTIVATE, 0, 0));
        UpdateWindow(own);
        UpdateWindow(cover);
        // 300x300: the picture at 300x225, 37 rows of black above it.
        EXPECT_EQ(RGB(0, 0, 0), screenPixel(350, 110));
        EXPECT_EQ(LIGHT, screenPixel(205, 142));
        EXPECT_EQ(DARK, screenPixel(350, 250));
        EXPECT_EQ(DARK, screenPixel(233, 211)); // the block, 6x6 at (230,208)
        // The cover paints every pixel it owns: what the screen showed there
        // before goes black around the picture.
        const HDC dc = GetDC(cover);
        SetDCBrushColor(dc, RGB(255, 0, 0));
        const RECT whole = {0, 0, 300, 300};
        FillRect(dc, &whole, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        ReleaseDC(cover, dc);
        EXPECT_EQ(RGB(255, 0, 0), pixel(cover, 150, 10));
        InvalidateRect(cover, nullptr, FALSE);
        UpdateWindow(cover);
        EXPECT_EQ(RGB(0, 0, 0), pixel(cover, 150, 10));
        EXPECT_EQ(RGB(0, 0, 0), pixel(cover, 150, 290));
        saver.windowCallback(own, WM_TIMER, BLINK_TIMER, 0);
        UpdateWindow(cover);
        UpdateWindow(own);
        EXPECT_EQ(LIGHT, screenPixel(233, 211));
        EXPECT_EQ(LIGHT, screenPixel(CURSOR.left + 8, CURSOR.top + 8));

        display.monitors[1] = RECT{400, 300, 600, 450};
        saver.windowCallback(own, WM_DISPLAYCHANGE, 24, MAKELPARAM(800, 600));
        PostMessageA(own, moved, 0, 0);
    };
    int step = 0;
    policy.onMessage = [&](unsigned int message) {
        if (message != moved) {
            return;
        }
        const RunWindows windows = runWindows(className);
        if (++step == 1) {
            ASSERT_EQ(cover, windows.cover); // moved, not made anew
            EXPECT_TRUE(EqualRect(&windows.coverPlace, &display.monitors[1]));
            display.monitors.pop_back();
            saver.windowCallback(windows.own, WM_TIMER, BLINK_TIMER, 0);
            PostMessageA(windows.own, moved, 0, 0);
            return;
        }
        EXPECT_EQ(nullptr, windows.cover);
        EXPECT_FALSE(IsWindow(cover));
        saver.windowCallback(windows.own, WM_LBUTTONDOWN, 0, 0);
    };
    saver.runScreensaver();
    EXPECT_EQ(2, step);
    EXPECT_EQ(nullptr, saverWindow());
    EXPECT_EQ(std::vector<std::string>{}, reporter.errors);

    // Monitors that cannot be listed fail the run like any other failure.
    display.refuseMonitors = true;
    app::PlovixsaverImpl{&reporter, &display, &policy, "Plovix test", className}.runScreensaver();
    ASSERT_EQ(1u, reporter.errors.size());
    EXPECT_EQ(0u, reporter.errors[0].find("Exception caught in: PlovixsaverImpl::_run.\nCould not "
                                          "list the monitors using 'EnumDisplayMonitors'."));
    EXPECT_TRUE(restoredAtReport && windowGoneAtReport);
}

// Refuses, once, a window of the class that this thread makes while the
// object lives, as a system short of resources may.
class RefusedWindow {
public:
    explicit RefusedWindow(const std::string& className)
        : _hook(SetWindowsHookExA(WH_CBT, refuse, nullptr, GetCurrentThreadId())) {
        EXPECT_NE(nullptr, _hook);
        _className = className;
    }
    ~RefusedWindow() { UnhookWindowsHookEx(_hook); }
    RefusedWindow(const RefusedWindow&) = delete;
    RefusedWindow& operator=(const RefusedWindow&) = delete;

    bool refusedOne() const { return _className.empty(); }

private:
    static LRESULT CALLBACK refuse(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            const char* made = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->lpszClass;
            if (HIWORD(reinterpret_cast<std::uintptr_t>(made)) != 0 && _className == made) {
                _className.clear();
                return 1;
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK _hook;
    static inline std::string _className;
};

// Once the run has begun, monitors that cannot be listed for a moment (a
// session switch, a remote desktop reconnecting) neither end it nor show a
// box over it: the covers stay, and the next blink follows the layout again.
// The failure is recorded once however many blinks and turns of the loop it
// lasts, and once more when it comes back after a recovery. A cover that
// could not be made is made at the next blink.
TEST_F(PlovixsaverImplTest, MonitorsRefusedDuringARunKeepTheCoversUntilTheNextBlink) {
    const support::ReportDirectory directory;
    display.monitors = {RECT{0, 0, 800, 600}, RECT{200, 100, 500, 400}};
    const UINT later = WM_APP + 13;
    HWND cover = nullptr;
    std::optional<RefusedWindow> refused;
    const auto blink = [&](HWND own) { saver.windowCallback(own, WM_TIMER, BLINK_TIMER, 0); };
    const auto displayChange = [&](HWND own) {
        saver.windowCallback(own, WM_DISPLAYCHANGE, 24, MAKELPARAM(800, 600));
    };
    policy.hook = [&] {
        const RunWindows windows = runWindows(className);
        cover = windows.cover;
        display.refuseMonitors = true;
        blink(windows.own);
        displayChange(windows.own);
        PostMessageA(windows.own, later, 0, 0);
    };
    const std::vector<std::function<void(const RunWindows&)>> steps = {
        [&](const RunWindows& windows) {
            EXPECT_EQ(cover, windows.cover);
            EXPECT_TRUE(IsWindowVisible(cover));
            blink(windows.own);
        },
        [&](const RunWindows& windows) {
            display.refuseMonitors = false;
            display.monitors[1] = RECT{400, 300, 600, 450};
            blink(windows.own);
        },
        [&](const RunWindows& windows) {
            EXPECT_EQ(cover, windows.cover);
            EXPECT_TRUE(EqualRect(&windows.coverPlace, &display.monitors[1]));
            display.refuseMonitors = true;
            blink(windows.own);
        },
        [&](const RunWindows& windows) {
            blink(windows.own);
            display.refuseMonitors = false;
            display.monitors.push_back(RECT{600, 0, 800, 100});
            refused.emplace(className);
            displayChange(windows.own);
        },
        [&](const RunWindows& windows) {
            EXPECT_TRUE(refused->refusedOne());
            blink(windows.own);
        },
        [&](const RunWindows& windows) {
            EXPECT_EQ(2, windows.covers);
            saver.windowCallback(windows.own, WM_LBUTTONDOWN, 0, 0);
        },
    };
    std::size_t step = 0;
    policy.onMessage = [&](unsigned int message) {
        if (message == later && step < steps.size()) {
            const RunWindows windows = runWindows(className);
            steps[step++](windows);
            PostMessageA(windows.own, later, 0, 0);
        }
    };
    saver.runScreensaver();
    EXPECT_EQ(steps.size(), step);
    EXPECT_EQ(std::vector<std::string>{}, reporter.errors);
    const std::string kept = "The other monitors' covers stay as they are until the next blink.";
    EXPECT_EQ((std::vector<std::string>{kept, kept}), directory.failedChecks());
}

// A top-most window that comes over a cover during a run, as a task bar or
// a notification may, is covered again at the next blink, the run's window
// still active. One that shows nothing there, elsewhere or fully
// transparent, is left above it: a program that keeps it on top is not
// fought at every blink.
TEST_F(PlovixsaverImplTest, CoverGoesBackOverATopMostWindowAtTheNextBlink) {
    display.monitors = {RECT{0, 0, 800, 600}, RECT{200, 100, 500, 400}};
    policy.hook = [&] {
        const RunWindows windows = runWindows(className);
        const support::TestWindow elsewhere(support::uniqueClassName(), 100, 50);
        const support::TestWindow clear(support::uniqueClassName(), 100, 50);
        const support::TestWindow other(support::uniqueClassName(), 100, 50);
        const auto raise = [](const support::TestWindow& window, int x, int y) {
            SetWindowPos(window.handle(), HWND_TOPMOST, x, y, 100, 50,
                         SWP_NOACTIVATE | SWP_SHOWWINDOW);
        };
        SetWindowLongA(clear.handle(), GWL_EXSTYLE, WS_EX_LAYERED);
        SetLayeredWindowAttributes(clear.handle(), 0, 0, LWA_ALPHA);
        raise(elsewhere, 500, 400);
        raise(clear, 250, 150);
        saver.windowCallback(windows.own, WM_TIMER, BLINK_TIMER, 0);
        EXPECT_TRUE(above(elsewhere.handle(), windows.cover));
        EXPECT_TRUE(above(clear.handle(), windows.cover));
        raise(other, 250, 150);
        EXPECT_TRUE(above(other.handle(), windows.cover));
        saver.windowCallback(windows.own, WM_TIMER, BLINK_TIMER, 0);
        EXPECT_TRUE(above(windows.cover, other.handle()));
        EXPECT_EQ(windows.own, GetForegroundWindow());
        saver.windowCallback(windows.own, WM_LBUTTONDOWN, 0, 0);
    };
    saver.runScreensaver();
    EXPECT_EQ(std::vector<std::string>{}, reporter.errors);
}

} // namespace
