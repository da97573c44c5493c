#include "app/MonitorCovers.h"

#include <dwmapi.h>

#include <algorithm>
#include <utility>

#include "platform/errorresources/SystemErrors.h"
#include "util/Helpers.h"
#include "windows/window/WindowException.h"
#include "windows/window/WindowParameters.h"

namespace app {

using windows::window::WindowException;
using windows::window::WindowParameters;

namespace {

// Hidden until placed; no task-bar button; clicks do not activate them.
const DWORD COVER_STYLE = WS_POPUP;
const DWORD COVER_EX_STYLE = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;

MonitorLayout::Area areaOf(const RECT& rect) {
    return MonitorLayout::Area{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// Whether `window` shows anything over `area`. Windows 10 and 11 keep many
// windows visible that nobody sees: cloaked ones (Start, Search, those of
// other virtual desktops) and click-through overlays drawn fully
// transparent. A system that cannot tell cloaking (Windows 7, Wine) refuses
// the question: the window then counts as not cloaked.
bool shownOver(HWND window, const RECT& area) {
    RECT place = {};
    RECT common = {};
    if (IsWindowVisible(window) == 0 || GetWindowRect(window, &place) == 0 ||
        IntersectRect(&common, &place, &area) == 0) {
        return false;
    }
    DWORD cloaked = 0;
    if (SUCCEEDED(DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) &&
        cloaked != 0) {
        return false;
    }
    BYTE alpha = 255;
    DWORD layered = 0;
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) == 0 ||
           GetLayeredWindowAttributes(window, nullptr, &alpha, &layered) == 0 ||
           (layered & LWA_ALPHA) == 0 || alpha != 0;
}

} // namespace

MonitorCovers::MonitorCovers(windows::devices::display::DisplaySettings& display,
                             windows::window::MessageListener& listener,
                             const WNDCLASSEXA& windowClass, const std::string& title)
    : _display(display)
    , _listener(listener)
    , _windowClass(windowClass)
    , _className(windowClass.lpszClassName != nullptr ? windowClass.lpszClassName : "")
    , _title(title)
    , _windows()
    , _monitors() {
    _windowClass.lpszClassName = _className.c_str();
}

MonitorCovers::~MonitorCovers() {
    while (!_windows.empty()) {
        _windows.pop_back();
    }
}

void MonitorCovers::update(const RECT& covered) {
    // Kept only once every cover is made and placed: after a failure no
    // monitors are kept, so the next check finds a change and tries again.
    _monitors.clear();
    std::vector<RECT> listed = _display.getMonitorAreas();
    std::vector<MonitorLayout::Area> monitors;
    monitors.reserve(listed.size());
    for (const RECT& monitor : listed) {
        monitors.push_back(areaOf(monitor));
    }
    const std::vector<MonitorLayout::Cover> covers =
        MonitorLayout::covers(monitors, areaOf(covered));
    while (_windows.size() > covers.size()) {
        _windows.pop_back();
    }
    for (std::size_t i = 0; i < covers.size(); ++i) {
        if (i == _windows.size()) {
            const MonitorLayout::Area& area = covers[i].window;
            auto made = std::make_unique<Covering>(_windowClass.hInstance);
            // Made where it goes: centred on the primary, a cover of a
            // monitor wider than it would start far off every screen.
            made->window.create(WindowParameters{_windowClass, area.width, area.height, COVER_STYLE,
                                                 COVER_EX_STYLE, _title, nullptr, false,
                                                 POINT{area.left, area.top}});
            made->window.addMessageListener(&_listener);
            _windows.push_back(std::move(made));
        }
        _place(*_windows[i], covers[i]);
    }
    _monitors = std::move(listed);
}

void MonitorCovers::_place(Covering& covering, const MonitorLayout::Cover& cover) {
    if (covering.cover == cover && _inPlace(covering)) {
        return;
    }
    covering.cover = cover;
    const MonitorLayout::Area& area = cover.window;
    const HWND handle = covering.window.getHandle();
    if (SetWindowPos(handle, HWND_TOPMOST, area.left, area.top, area.width, area.height,
                     SWP_NOACTIVATE | SWP_SHOWWINDOW) == 0) {
        platform::errorresources::SystemErrors::throwLastError<WindowException>(
            [&](const std::string& reason) {
                return "Could not place a window over a monitor using 'SetWindowPos'.\nWindow: " +
                       util::handleToString(handle) + "\nArea: " + util::numberToString(area.left) +
                       "," + util::numberToString(area.top) + " " +
                       util::numberToString(area.width) + "x" + util::numberToString(area.height) +
                       "\n" + reason;
            });
    }
    // The picture moves with the layout; all of it is painted anew.
    InvalidateRect(handle, nullptr, FALSE);
}

bool MonitorCovers::changed() const {
    const std::vector<RECT> monitors = _display.getMonitorAreas();
    const bool same =
        std::equal(monitors.begin(), monitors.end(), _monitors.begin(), _monitors.end(),
                   [](const RECT& one, const RECT& other) { return EqualRect(&one, &other) != 0; });
    return !same || !std::all_of(_windows.begin(), _windows.end(),
                                 [](const std::unique_ptr<Covering>& c) { return _inPlace(*c); });
}

void MonitorCovers::keepOnTop() {
    for (const std::unique_ptr<Covering>& covering : _windows) {
        const HWND handle = covering->window.getHandle();
        if (_onTop(handle)) {
            continue;
        }
        if (SetWindowPos(handle, HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) == 0) {
            platform::errorresources::SystemErrors::throwLastError<WindowException>(
                [&](const std::string& reason) {
                    return "Could not put a window over a monitor back on top using "
                           "'SetWindowPos'.\nWindow: " +
                           util::handleToString(handle) + "\n" + reason;
                });
        }
    }
}

bool MonitorCovers::_onTop(HWND handle) {
    // Only the run's windows, all of its class, may be shown over the
    // cover: raising it over a window that shows nothing there would start
    // a fight with any program that keeps its own window on top.
    const ULONG_PTR runClass = GetClassLongPtrA(handle, GCW_ATOM);
    RECT place = {};
    GetWindowRect(handle, &place);
    for (HWND above = GetWindow(handle, GW_HWNDPREV); above != nullptr;
         above = GetWindow(above, GW_HWNDPREV)) {
        if (GetClassLongPtrA(above, GCW_ATOM) != runClass && shownOver(above, place)) {
            return false;
        }
    }
    return true;
}

bool MonitorCovers::_inPlace(Covering& covering) {
    // The system may move or hide a window when the monitors change.
    const HWND handle = covering.window.getHandle();
    RECT place = {};
    return IsWindowVisible(handle) != 0 && GetWindowRect(handle, &place) != 0 &&
           areaOf(place) == covering.cover.window;
}

const MonitorLayout::Cover* MonitorCovers::find(HWND window) const {
    const auto found = std::find_if(
        _windows.begin(), _windows.end(),
        [window](const std::unique_ptr<Covering>& c) { return c->window.getHandle() == window; });
    return found != _windows.end() ? &(*found)->cover : nullptr;
}

} // namespace app
