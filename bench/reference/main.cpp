// The yardstick for the saver's figures: a bare top-most 800x600 window that
// blinks the saver's 16x16 cursor block at (80,190) every 350 ms in the
// saver's two blues, and ends on a key or a mouse button. Built three times
// from this file: reference-polling takes one message per pass and then
// sleeps 10 ms, as the saver's first loop did; reference-blocking
// (REFERENCE_BLOCKING_LOOP) waits in GetMessage, the least any blinking
// window can cost; reference-switching (REFERENCE_SWITCHING, with the
// blocking loop) also does what the saver must do before its first picture:
// it switches the display to 800x600 with the saver's call, covers the
// screen and paints the saver's picture, and puts the mode back at its end.
// reference-monitors (REFERENCE_MONITORS, with the switch) does what the
// saver must do on several monitors and nothing else: after the switch it
// also puts a top-most window over each other monitor, placed and painted as
// the saver's covers are, and blinks every window's block from the one timer.
#include <windows.h>

#include <cstdio>
#include <string>
#ifdef REFERENCE_MONITORS
#include <vector>

#include "app/MonitorLayout.h"
#include "exceptions/Exception.h"
#include "windows/devices/display/WindowsDisplaySettings.h"
#endif

#include "platform/errorresources/SystemErrors.h"
#include "reference/ReferenceNames.h"
#ifdef REFERENCE_SWITCHING
#include "reference/LoadedPicture.h"
#include "reference/ModeSwitch.h"
#endif
#include "windows/graphics/PictureColours.h"

namespace {

using picture::PictureLayout;
using platform::errorresources::SystemErrors;

const COLORREF LIGHT = windows::graphics::PictureColours::LIGHT;
const COLORREF DARK = windows::graphics::PictureColours::DARK;
const int WIDTH = PictureLayout::WIDTH;
const int HEIGHT = PictureLayout::HEIGHT;
// Where the saver's picture has its text area (drawn by the references that
// paint no picture) and its cursor at 800x600.
#ifndef REFERENCE_SWITCHING
const RECT TEXT_AREA = {PictureLayout::AREA_LEFT, PictureLayout::AREA_TOP,
                        PictureLayout::AREA_LEFT + PictureLayout::COLUMNS* PictureLayout::CELL,
                        PictureLayout::AREA_TOP + PictureLayout::ROWS* PictureLayout::CELL};
#endif
const RECT BLOCK = {PictureLayout::CURSOR_LEFT, PictureLayout::CURSOR_TOP,
                    PictureLayout::CURSOR_LEFT + PictureLayout::CELL,
                    PictureLayout::CURSOR_TOP + PictureLayout::CELL};
const UINT_PTR BLINK_TIMER = 1;
const UINT BLINK_MS = PictureLayout::BLINK_PERIOD_MS;

// Starts unlit like the saver's cursor, so both first pictures match.
bool blockLit = false;

#ifdef REFERENCE_SWITCHING
// The picture's memory device context, while the window lives.
HDC pictureContext = nullptr;
#endif

// An opaque empty text fills the rectangle without a brush to own.
void fill(HDC dc, const RECT& rect, COLORREF colour) {
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

#ifdef REFERENCE_MONITORS
using app::MonitorLayout;

// A window over a monitor other than the switched one, with where its
// picture lies in it and its block's cell there.
struct Cover {
    HWND window;
    MonitorLayout::Cover place;
    RECT cell;
};
std::vector<Cover> covers;

// The block's cell in a picture shown at `picture`.
RECT cellIn(const MonitorLayout::Area& picture) {
    const auto across = [&](LONG x) { return picture.left + x * picture.width / WIDTH; };
    const auto down = [&](LONG y) { return picture.top + y * picture.height / HEIGHT; };
    return RECT{across(BLOCK.left), down(BLOCK.top), across(BLOCK.right), down(BLOCK.bottom)};
}

const Cover* coverOf(HWND window) {
    for (const Cover& cover : covers) {
        if (cover.window == window) {
            return &cover;
        }
    }
    return nullptr;
}

// Black around the picture, the picture stretched into its place, and the
// block; a blink repaints the block's cell alone.
void paintCover(HWND window, const Cover& cover) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    if (dc == nullptr) {
        return;
    }
    if (EqualRect(&paint.rcPaint, &cover.cell) == 0) {
        const MonitorLayout::Area& picture = cover.place.picture;
        const int width = cover.place.window.width;
        const int height = cover.place.window.height;
        const RECT bands[] = {
            {0, 0, width, picture.top},
            {0, picture.top + picture.height, width, height},
            {0, picture.top, picture.left, picture.top + picture.height},
            {picture.left + picture.width, picture.top, width, picture.top + picture.height},
        };
        for (const RECT& band : bands) {
            fill(dc, band, RGB(0, 0, 0));
        }
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, picture.left, picture.top, picture.width, picture.height, pictureContext, 0,
                   0, WIDTH, HEIGHT, SRCCOPY);
    }
    fill(dc, cover.cell, blockLit ? LIGHT : DARK);
    EndPaint(window, &paint);
}
#endif

void paint(HWND window) {
#ifdef REFERENCE_MONITORS
    if (const Cover* cover = coverOf(window)) {
        paintCover(window, *cover);
        return;
    }
#endif
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    if (dc == nullptr) {
        return;
    }
    // A blink repaints the block alone, so the rest never flickers.
    if (EqualRect(&paint.rcPaint, &BLOCK) == 0) {
#ifdef REFERENCE_SWITCHING
        const RECT& area = paint.rcPaint;
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
               pictureContext, area.left, area.top, SRCCOPY);
#else
        const RECT whole = {0, 0, WIDTH, HEIGHT};
        fill(dc, whole, LIGHT);
        fill(dc, TEXT_AREA, DARK);
#endif
    }
    fill(dc, BLOCK, blockLit ? LIGHT : DARK);
    EndPaint(window, &paint);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_TIMER:
        blockLit = !blockLit;
        InvalidateRect(window, &BLOCK, FALSE);
#ifdef REFERENCE_MONITORS
        for (const Cover& cover : covers) {
            InvalidateRect(cover.window, &cover.cell, FALSE);
        }
#endif
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        ::paint(window);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

#ifdef REFERENCE_BLOCKING_LOOP
int runMessageLoop() {
    MSG message;
    BOOL got = 0;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}
#else
int runMessageLoop() {
    MSG message;
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
            if (message.message == WM_QUIT) {
                return static_cast<int>(message.wParam);
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}
#endif

#ifdef REFERENCE_MONITORS
// A window over each monitor the switched window does not cover, listed
// after the switch as the saver lists them.
bool coverMonitors(HINSTANCE instance, const char* className, int width, int height) {
    std::vector<MonitorLayout::Area> monitors;
    try {
        for (const RECT& area :
             windows::devices::display::WindowsDisplaySettings().getMonitorAreas()) {
            monitors.push_back(
                {area.left, area.top, area.right - area.left, area.bottom - area.top});
        }
    } catch (const exceptions::Exception&) {
        return false;
    }
    for (const MonitorLayout::Cover& place :
         MonitorLayout::covers(monitors, MonitorLayout::Area{0, 0, width, height})) {
        const MonitorLayout::Area& area = place.window;
        const HWND window =
            CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, className,
                            "Reference", WS_POPUP | WS_VISIBLE, area.left, area.top, area.width,
                            area.height, nullptr, nullptr, instance, nullptr);
        if (window == nullptr) {
            return false;
        }
        covers.push_back(Cover{window, place, cellIn(place.picture)});
    }
    return true;
}

void uncoverMonitors() {
    while (!covers.empty()) {
        const HWND window = covers.back().window;
        covers.pop_back();
        DestroyWindow(window);
    }
}
#endif

int fail(const char* sentence) {
    const std::string reason = SystemErrors::lastErrorText();
    std::fputs((std::string(sentence) + reason).c_str(), stderr);
    return 1;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int width = WIDTH;
    int height = HEIGHT;
#ifdef REFERENCE_SWITCHING
    bench::reference::ModeSwitch modeSwitch;
    const LONG switched = modeSwitch.to800x600();
    if (switched != DISP_CHANGE_SUCCESSFUL) {
        std::fprintf(stderr,
                     "Could not switch to 800x600 using 'ChangeDisplaySettings'.\n"
                     "Result: %ld\n",
                     static_cast<long>(switched));
        return 1;
    }
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
    const bench::reference::LoadedPicture loaded(instance, width, height);
    if (loaded.context() == nullptr) {
        return fail("Could not load the picture using 'LoadImage', 'CreateCompatibleDC' and "
                    "'SelectObject'.\n");
    }
    pictureContext = loaded.context();
#endif
    const char* const className = bench::reference::WINDOW_CLASS_NAME;
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className;
    if (RegisterClassExA(&windowClass) == 0) {
        return fail("Could not register the window class using 'RegisterClassEx'.\n");
    }
    // The window destroys itself on input (a cover too, which ends the loop
    // all the same); the class is this function's.
    const HWND window =
        CreateWindowExA(WS_EX_TOPMOST, className, "Reference", WS_POPUP | WS_VISIBLE, 0, 0, width,
                        height, nullptr, nullptr, instance, nullptr);
    int code = 1;
    if (window == nullptr) {
        fail("Could not create the window using 'CreateWindowEx'.\n");
    } else if (SetTimer(window, BLINK_TIMER, BLINK_MS, nullptr) == 0) {
        fail("Could not start the blink using 'SetTimer'.\n");
        DestroyWindow(window);
#ifdef REFERENCE_MONITORS
    } else if (!coverMonitors(instance, className, width, height)) {
        fail("Could not cover the other monitors using 'EnumDisplayMonitors' and "
             "'CreateWindowEx'.\n");
        DestroyWindow(window);
#endif
    } else {
        code = runMessageLoop();
    }
#ifdef REFERENCE_MONITORS
    uncoverMonitors();
#endif
    UnregisterClassA(className, instance);
    return code;
}
