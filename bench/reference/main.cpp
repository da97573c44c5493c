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
#include <windows.h>

#include <cstdio>
#include <string>

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

void paint(HWND window) {
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
    // The window destroys itself on input; the class is this function's.
    const HWND window =
        CreateWindowExA(WS_EX_TOPMOST, className, "Reference", WS_POPUP | WS_VISIBLE, 0, 0, width,
                        height, nullptr, nullptr, instance, nullptr);
    int code = 1;
    if (window == nullptr) {
        fail("Could not create the window using 'CreateWindowEx'.\n");
    } else if (SetTimer(window, BLINK_TIMER, BLINK_MS, nullptr) == 0) {
        fail("Could not start the blink using 'SetTimer'.\n");
        DestroyWindow(window);
    } else {
        code = runMessageLoop();
    }
    UnregisterClassA(className, instance);
    return code;
}
