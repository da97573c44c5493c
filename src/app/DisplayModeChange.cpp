#include "app/DisplayModeChange.h"

#include "exceptions/Exception.h"
#include "util/Assertion.h"
#include "windows/devices/display/DisplayException.h"

namespace app {

using windows::devices::display::DisplayException;

DisplayModeChange::DisplayModeChange(windows::devices::display::DisplaySettings& display,
                                     const DEVMODEA& wanted, ErrorReporter& reporter,
                                     const std::string& failurePrefix)
    : _display(display)
    , _reporter(reporter)
    , _failurePrefix(failurePrefix)
    , _restored(false) {
    DEVMODEA mode = wanted;
    try {
        _display.setDisplaySetting(&mode, CDS_FULLSCREEN);
    } catch (const DisplayException& e) {
        // Many monitors offer the small mode only at 60 Hz.
        if (e.getResult() != DISP_CHANGE_BADMODE || (wanted.dmFields & DM_DISPLAYFREQUENCY) == 0) {
            throw;
        }
        mode = wanted;
        mode.dmFields &= ~static_cast<DWORD>(DM_DISPLAYFREQUENCY);
        mode.dmDisplayFrequency = 0;
        _display.setDisplaySetting(&mode, CDS_FULLSCREEN);
    }
}

DisplayModeChange::~DisplayModeChange() {
    if (_restored) {
        return;
    }
    try {
        restore();
    } catch (const exceptions::Exception& e) {
        try {
            _reporter.reportError(_failurePrefix + e.getMessage());
        } catch (...) {
            PLOVIX_CHECK(false);
        }
    } catch (...) {
        PLOVIX_CHECK(false);
    }
}

void DisplayModeChange::restore() {
    // Marked first: a restore that failed is not tried a second time.
    _restored = true;
    _display.setDisplaySetting(nullptr, 0);
}

} // namespace app
