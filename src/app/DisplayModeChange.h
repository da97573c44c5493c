#ifndef PLOVIX_APP_DISPLAYMODECHANGE_H
#define PLOVIX_APP_DISPLAYMODECHANGE_H

#include <windows.h>

#include <string>

#include "app/ErrorReporter.h"
#include "windows/devices/display/DisplaySettings.h"

namespace app {

// Owns a temporary display mode change: applies the wanted mode with
// CDS_FULLSCREEN and puts the saved one back exactly once, on every way out.
// restore() lets the normal path see a failed restore as an exception; if
// the scope is left without it, the destructor restores and reports a
// failure through the reporter, because it must not throw.
class DisplayModeChange {
public:
    // Throws DisplayException when the wanted mode is refused; nothing is
    // then changed and nothing will be restored.
    DisplayModeChange(windows::devices::display::DisplaySettings& display, const DEVMODEA& saved,
                      const DEVMODEA& wanted, ErrorReporter& reporter,
                      const std::string& failurePrefix);
    ~DisplayModeChange();

    DisplayModeChange(const DisplayModeChange&) = delete;
    DisplayModeChange& operator=(const DisplayModeChange&) = delete;

    // Applies the saved mode with flags 0. Throws DisplayException.
    void restore();

private:
    windows::devices::display::DisplaySettings& _display;
    DEVMODEA _saved;
    ErrorReporter& _reporter;
    std::string _failurePrefix;
    bool _restored;
};

} // namespace app

#endif
