#include "app/PlovixsaverImpl.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "app/InputExitPolicy.h"
#include "support/FakeDisplaySettings.h"
#include "support/RecordingReporter.h"
#include "support/TestWindow.h"

namespace {

using app::PlovixsaverImpl;

const UINT MARKER = WM_APP + 11;
const COLORREF DARK = RGB(57, 57, 222);
const COLORREF LIGHT = RGB(156, 156, 255);
const COLORREF RED = RGB(255, 0, 0);

// The real exit rule, with a way in for the test at the one moment a run
// has its window and its pictures but has not started its loop.
class HookedPolicy : public app::InputExitPolicy {
public:
    void reset() override {
        InputExitPolicy::reset();
        ++resets;
        if (hook) {
            hook();
        }
    }
    std::function<void()> hook;
    int resets = 0;
};

// Whether a thread message posted during the run is still waiting, i.e. the
// run's loop ended without taking it. Removes it either way.
bool markerStillQueued() {
    MSG message;
    return PeekMessageA(&message, nullptr, MARKER, MARKER, PM_REMOVE) != 0;
}

RECT updateRect(HWND window) {
    RECT rect = {};
    GetUpdateRect(window, &rect, FALSE);
    return rect;
}

COLORREF pixel(HWND window, int x, int y) {
    const HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

bool sameRect(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != 0;
}

class PlovixsaverImplTest : public ::testing::Test {
protected:
    PlovixsaverImplTest()
        : arrow(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512))) {
        SetCursor(arrow);
        reporter.onReport = [this] {
            restoredAtReport.push_back(display.restored());
            cursorAtReport.push_back(GetCursor());
        };
    }

    // The saver's pictures could throw on release; they never do here.
    ~PlovixsaverImplTest() noexcept override {}

    HWND saverWindow() const { return FindWindowA(className.c_str(), nullptr); }

    support::RecordingReporter reporter;
    support::FakeDisplaySettings display;
    HookedPolicy policy;
    const std::string className = support::uniqueClassName();
    PlovixsaverImpl saver{&reporter, &display, &policy, "Plovix test", className};
    const HCURSOR arrow;
    std::vector<bool> restoredAtReport;
    std::vector<HCURSOR> cursorAtReport;
};

TEST_F(PlovixsaverImplTest, FullScreenRunCoversTheScreenUntilAKeyAndPutsEverythingBack) {
    const std::string screen = std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
                               std::to_string(GetSystemMetrics(SM_CYSCREEN));
    policy.hook = [&] {
        const HWND window = saverWindow();
        ASSERT_NE(nullptr, window);
        RECT rect = {};
        GetWindowRect(window, &rect);
        EXPECT_TRUE(sameRect(
            RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, rect));
        EXPECT_EQ(WS_POPUP | WS_VISIBLE, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) &
                                             (WS_POPUP | WS_VISIBLE | WS_CHILD));
        EXPECT_NE(0, GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(nullptr, GetCursor());
        EXPECT_EQ(0, saver.windowCallback(window, WM_MOUSEMOVE, 0, 0)); // one move: no end
        saver.windowCallback(window, WM_KEYDOWN, VK_SPACE, 0);
        PostThreadMessageA(GetCurrentThreadId(), MARKER, 0, 0);
    };
    saver.runScreensaver();
    EXPECT_EQ(1, policy.resets);
    EXPECT_TRUE(markerStillQueued()) << "the run went on after the key";
    EXPECT_EQ((std::vector<std::string>{"get 4294967295", "set 800x600 4", "set " + screen + " 0"}),
              display.calls);
    EXPECT_EQ(arrow, GetCursor());
    EXPECT_EQ(nullptr, saverWindow());
    EXPECT_TRUE(reporter.errors.empty()) << reporter.errors[0];
}

TEST_F(PlovixsaverImplTest, FailureAfterTheSwitchPutsTheModeBackBeforeItIsReported) {
    // The class already exists, so the run cannot register it.
    const support::TestWindow taken(className);
    saver.runScreensaver();
    ASSERT_EQ(1u, reporter.errors.size());
    EXPECT_EQ(0u, reporter.errors[0].find("Exception caught in 'runScreensaver'.\nError when "
                                          "registering the window class '" +
                                          className + "'"));
    EXPECT_EQ(std::vector<bool>{true}, restoredAtReport);
    EXPECT_EQ(3u, display.calls.size());
}

TEST_F(PlovixsaverImplTest, FailedRestoreIsReportedNotThrown) {
    display.refuseRestore = true;
    policy.hook = [&] { saver.windowCallback(saverWindow(), WM_LBUTTONDOWN, 0, 0); };
    EXPECT_NO_THROW(saver.runScreensaver());
    ASSERT_EQ(1u, reporter.errors.size());
    EXPECT_NE(std::string::npos, reporter.errors[0].find("Flags: 0\n"));
    EXPECT_EQ(3u, display.calls.size()); // restored once, not retried
    EXPECT_EQ(arrow, cursorAtReport.at(0));
}

TEST_F(PlovixsaverImplTest, BlinkRepaintsOnlyTheCursorCell) {
    policy.hook = [&] {
        const HWND window = saverWindow();
        EXPECT_EQ(0, saver.windowCallback(window, WM_SETCURSOR, 0, 0));
        EXPECT_EQ(1, saver.windowCallback(window, WM_ERASEBKGND, 0, 0));

        UpdateWindow(window); // the first paint: picture and empty block
        EXPECT_EQ(LIGHT, pixel(window, 40, 40));
        EXPECT_EQ(DARK, pixel(window, 80, 190));

        saver.windowCallback(window, WM_TIMER, 123456, 0);
        EXPECT_TRUE(sameRect(RECT{80, 190, 96, 206}, updateRect(window)));
        const HDC dc = GetDC(window);
        SetPixel(dc, 405, 405, RED);
        ReleaseDC(window, dc);
        UpdateWindow(window); // the blink paint: the block only
        EXPECT_EQ(LIGHT, pixel(window, 80, 190));
        // The block's last row is where the 17 rows were scaled into 16.
        EXPECT_EQ(LIGHT, pixel(window, 95, 203));
        EXPECT_EQ(RED, pixel(window, 405, 405));

        // Anything else uncovered redraws the picture, then the next block.
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
        EXPECT_EQ(DARK, pixel(window, 405, 405));
        EXPECT_EQ(DARK, pixel(window, 80, 190));

        saver.windowCallback(window, WM_KEYDOWN, VK_SPACE, 0);
    };
    saver.runScreensaver();
    EXPECT_TRUE(reporter.errors.empty());
}

TEST_F(PlovixsaverImplTest, PreviewFillsItsParentAndOnlyClosingEndsIt) {
    const support::TestWindow parent(support::uniqueClassName(), 152, 112, WS_POPUP | WS_VISIBLE);
    policy.hook = [&] {
        const HWND window = GetWindow(parent.handle(), GW_CHILD);
        ASSERT_NE(nullptr, window);
        RECT rect = {};
        GetClientRect(window, &rect);
        EXPECT_TRUE(sameRect(RECT{0, 0, 152, 112}, rect));
        EXPECT_EQ(WS_CHILD | WS_VISIBLE, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) &
                                             (WS_POPUP | WS_VISIBLE | WS_CHILD));

        UpdateWindow(window);
        saver.windowCallback(window, WM_TIMER, 123456, 0);
        EXPECT_TRUE(sameRect(RECT{15, 35, 18, 38}, updateRect(window)));

        for (const UINT input :
             std::initializer_list<UINT>{WM_KEYDOWN, WM_LBUTTONDOWN, WM_ACTIVATEAPP}) {
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
    EXPECT_TRUE(reporter.errors.empty());
}

} // namespace
