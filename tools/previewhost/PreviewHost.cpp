#include "previewhost/PreviewHost.h"

#include <cstdio>
#include <stdexcept>

#include "app/InputExitPolicy.h"
#include "app/MessageBoxReporter.h"
#include "app/PlovixsaverImpl.h"
#include "app/Program.h"
#include "previewhost/ChildProcess.h"
#include "windows/devices/display/WindowsDisplaySettings.h"

namespace tools {
namespace previewhost {

namespace {

const char* const FRAME_CLASS = "PlovixPreviewHostFrame";
const char* const AREA_CLASS = "PlovixPreviewHostArea";
const UINT_PTR END_TIMER = 1;
const int MARGIN = 16;

} // namespace

PreviewHost::PreviewHost(HINSTANCE instance)
    : _instance(instance)
    , _frameClass(0)
    , _areaClass(0)
    , _frame(nullptr)
    , _area(nullptr) {
    WNDCLASSEXA frameClass = {};
    frameClass.cbSize = sizeof frameClass;
    frameClass.lpfnWndProc = _frameProcedure;
    frameClass.hInstance = _instance;
    frameClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    frameClass.lpszClassName = FRAME_CLASS;
    _frameClass = RegisterClassExA(&frameClass);

    WNDCLASSEXA areaClass = frameClass;
    areaClass.lpfnWndProc = DefWindowProcA;
    areaClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    areaClass.lpszClassName = AREA_CLASS;
    _areaClass = RegisterClassExA(&areaClass);
    if (_frameClass == 0 || _areaClass == 0) {
        throw std::runtime_error("could not register the preview host's window classes");
    }

    RECT outer = {0, 0, WIDTH + 2 * MARGIN, HEIGHT + 2 * MARGIN};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    AdjustWindowRect(&outer, style, FALSE);
    _frame =
        CreateWindowExA(0, FRAME_CLASS, "Plovix Preview", style, 40, 40, outer.right - outer.left,
                        outer.bottom - outer.top, nullptr, nullptr, _instance, nullptr);
    _area = CreateWindowExA(0, AREA_CLASS, "", WS_CHILD | WS_VISIBLE, MARGIN, MARGIN, WIDTH, HEIGHT,
                            _frame, nullptr, _instance, nullptr);
    if (_frame == nullptr || _area == nullptr) {
        throw std::runtime_error("could not create the preview host's windows");
    }
}

PreviewHost::~PreviewHost() {
    if (IsWindow(_frame)) {
        DestroyWindow(_frame);
    }
    UnregisterClassA(AREA_CLASS, _instance);
    UnregisterClassA(FRAME_CLASS, _instance);
}

int PreviewHost::run(const std::string& saverPath, const std::string& flag, int seconds) {
    const std::string handle =
        std::to_string(static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(_area)));
    ChildProcess saver("\"" + saverPath + "\" " + flag + " " + handle);
    _endAfter(seconds);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(saver.waitForExit(5000));
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
    screensaver.runPreview(_area);
    return 0;
}

void PreviewHost::_endAfter(int seconds) {
    RECT area = {};
    GetWindowRect(_area, &area);
    std::printf("preview area: %ld %ld %ld %ld\n", area.left, area.top, area.right - area.left,
                area.bottom - area.top);
    std::fflush(stdout);
    if (seconds > 0) {
        SetTimer(_frame, END_TIMER, static_cast<UINT>(seconds) * 1000, nullptr);
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
