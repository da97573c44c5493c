#include "previewhost/PreviewHost.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "app/InputExitPolicy.h"
#include "app/MessageBoxReporter.h"
#include "app/PlovixsaverImpl.h"
#include "app/Program.h"
#include "previewhost/ChildProcess.h"
#include "windows/devices/display/WindowsDisplaySettings.h"
#include "windows/window/WindowParameters.h"

namespace tools {
namespace previewhost {

namespace {

const char* const FRAME_CLASS = "PlovixPreviewHostFrame";
const char* const AREA_CLASS = "PlovixPreviewHostArea";
const UINT_PTR END_TIMER = 1;
const int MARGIN = 16;
// A saver ends once its preview window is gone; one still running after
// this has hung. On a loaded machine Wine may take seconds to tell it.
const DWORD SAVER_END_MS = 30000;

} // namespace

PreviewHost::PreviewHost(HINSTANCE instance)
    : _frame(instance)
    , _area(instance) {
    WNDCLASSEXA frameClass = {};
    frameClass.cbSize = sizeof frameClass;
    frameClass.lpfnWndProc = _frameProcedure;
    frameClass.hInstance = instance;
    frameClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    frameClass.lpszClassName = FRAME_CLASS;
    RECT outer = {0, 0, WIDTH + 2 * MARGIN, HEIGHT + 2 * MARGIN};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    AdjustWindowRect(&outer, style, FALSE);
    const std::string title = "Plovix Preview";
    _frame.create(windows::window::WindowParameters{frameClass, outer.right - outer.left,
                                                    outer.bottom - outer.top, style, 0, title,
                                                    nullptr, true});

    WNDCLASSEXA areaClass = frameClass;
    areaClass.lpfnWndProc = DefWindowProcA;
    areaClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    areaClass.lpszClassName = AREA_CLASS;
    _area.create(windows::window::WindowParameters{areaClass, WIDTH, HEIGHT, WS_CHILD | WS_VISIBLE,
                                                   0, std::string(), _frame.getHandle(), true});
    _area.setPosition(MARGIN, MARGIN);
}

int PreviewHost::run(const std::string& saver, const std::string& program, const std::string& flag,
                     int seconds) {
    const std::string handle =
        std::to_string(static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(area())));
    ChildProcess process(saver + " " + flag + " " + handle, program);
    _endAfter(seconds);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    const std::optional<DWORD> code = process.waitForExit(SAVER_END_MS);
    return code ? static_cast<int>(*code) : -1;
}

int PreviewHost::runInProcess(int seconds) {
    app::MessageBoxReporter reporter(app::APPLICATION_NAME);
    windows::devices::display::WindowsDisplaySettings display;
    app::InputExitPolicy exitPolicy;
    app::PlovixsaverImpl screensaver(&reporter, &display, &exitPolicy, app::WINDOW_TITLE,
                                     app::WINDOW_CLASS_NAME);
    _endAfter(seconds);
    // The saver's loop dispatches the frame's messages too, so the frame's
    // end takes the preview with it.
    screensaver.runPreview(area());
    return 0;
}

void PreviewHost::_endAfter(int seconds) {
    RECT place = {};
    GetWindowRect(area(), &place);
    std::printf("preview area: %ld %ld %ld %ld\n", place.left, place.top, place.right - place.left,
                place.bottom - place.top);
    std::fflush(stdout);
    if (seconds > 0) {
        SetTimer(frame(), END_TIMER, static_cast<UINT>(seconds) * 1000, nullptr);
    }
}

LRESULT CALLBACK PreviewHost::_frameProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace previewhost
} // namespace tools
