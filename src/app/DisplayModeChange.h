#ifndef PLOVIX_APP_DISPLAYMODECHANGE_H
#define PLOVIX_APP_DISPLAYMODECHANGE_H

#include <windows.h>

#include <string>

#include "app/ErrorReporter.h"
#include "windows/devices/display/DisplaySettings.h"

namespace app {

// Owns a temporary display mode change: applies the wanted mode with
// CDS_FULLSCREEN and puts the user's own mode back exactly once, on every way
// out. The mode comes back from the user's settings, not from a copy taken at
// the start, so that runs that overlap cannot leave each other's mode behind.
// restore() lets the normal path see a failed restore as an exception; if
// the scope is left without it, the destructor restores and reports a
// failure through the reporter, because it must not throw.
class DisplayModeChange {
public:
    // A display that refuses the wanted mode at its refresh rate is asked
    // once more for the same size at its default rate. Throws
    // DisplayException when that is refused too; nothing is then changed and
    // nothing will be restored.
    DisplayModeChange(windows::devices::display::DisplaySettings& display, const DEVMODEA& wanted,
                      ErrorReporter& reporter, const std::string& failurePrefix);
    ~DisplayModeChange();

    DisplayModeChange(const DisplayModeChange&) = delete;
    DisplayModeChange& operator=(const DisplayModeChange&) = delete;

    // Returns to the mode in the user's settings (a null mode, flags 0).
    // Throws DisplayException.
    void restore();

private:
    windows::devices::display::DisplaySettings& _display;
    ErrorReporter& _reporter;
    std::string _failurePrefix;
    bool _restored;
};

} // namespace app

#endif
