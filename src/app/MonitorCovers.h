#ifndef PLOVIX_APP_MONITORCOVERS_H
#define PLOVIX_APP_MONITORCOVERS_H

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/MonitorLayout.h"
#include "windows/devices/display/DisplaySettings.h"
#include "windows/window/MessageListener.h"
#include "windows/window/WindowXImpl.h"

namespace app {

// The windows of a full-screen run over the monitors its own window does
// not cover, one a monitor, following the layout as it changes. They are
// top-most and never take activation, so that showing or clicking them is
// not the loss of activation that ends a run. Owns the windows, not their
// class, which the run's own window registered; every window is gone with
// the object.
class MonitorCovers {
public:
    // Nothing is covered until the first update. `display`, `listener` and
    // the class named by `windowClass` must outlive the object.
    MonitorCovers(windows::devices::display::DisplaySettings& display,
                  windows::window::MessageListener& listener, const WNDCLASSEXA& windowClass,
                  const std::string& title);
    // Destroys the windows, the last made first.
    ~MonitorCovers();

    MonitorCovers(const MonitorCovers&) = delete;
    MonitorCovers& operator=(const MonitorCovers&) = delete;

    // Covers the monitors there are now, except the one exactly under
    // `covered`: windows that are still needed are moved, missing ones made
    // and shown, the rest destroyed. Throws DisplayException when the
    // monitors cannot be listed and WindowException when a window cannot be
    // made or placed; after such a failure changed() is true.
    void update(const RECT& covered);
    // Whether the monitors are no longer those of the last update, or a
    // window is no longer where it was put. Windows tells its windows of a
    // new layout (WM_DISPLAYCHANGE); Wine does not when the layout changes
    // outside it, so a run also asks now and then.
    // Throws DisplayException when the monitors cannot be listed.
    bool changed() const;

    // Puts each window back at the top of the top-most band where a window
    // not of the run has come over it and shows there (Windows keeps a task
    // bar on every monitor, and notifications, both top-most), without
    // activating, moving or resizing it. One already there is left alone,
    // and so is one under windows that are elsewhere, cloaked or fully
    // transparent: a program that keeps such a window on top is not fought
    // at every blink. Throws WindowException when a window cannot be put
    // back.
    void keepOnTop();

    // The cover shown in `window`, or null when it is none of these.
    const MonitorLayout::Cover* find(HWND window) const;
    std::size_t count() const { return _windows.size(); }
    HWND handle(std::size_t index) const { return _windows[index]->window.getHandle(); }
    const MonitorLayout::Cover& cover(std::size_t index) const { return _windows[index]->cover; }

private:
    struct Covering {
        explicit Covering(HINSTANCE instance)
            : window(instance)
            , cover() {}
        windows::window::WindowXImpl window;
        MonitorLayout::Cover cover;
    };

    void _place(Covering& covering, const MonitorLayout::Cover& cover);
    static bool _inPlace(Covering& covering);
    static bool _onTop(HWND handle);

    windows::devices::display::DisplaySettings& _display;
    windows::window::MessageListener& _listener;
    WNDCLASSEXA _windowClass;
    std::string _className;
    std::string _title;
    std::vector<std::unique_ptr<Covering>> _windows;
    std::vector<RECT> _monitors;
};

} // namespace app

#endif
