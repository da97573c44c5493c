#include "app/DisplayModeChange.h"

#include "exceptions/Exception.h"
#include "util/Assertion.h"

namespace app {

DisplayModeChange::DisplayModeChange(windows::devices::display::DisplaySettings& display,
                                     const DEVMODEA& saved, const DEVMODEA& wanted,
                                     ErrorReporter& reporter, const std::string& failurePrefix)
    : _display(display)
    , _saved(saved)
    , _reporter(reporter)
    , _failurePrefix(failurePrefix)
    , _restored(false) {
    DEVMODEA mode = wanted;
    _display.setDisplaySetting(&mode, CDS_FULLSCREEN);
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
    _display.setDisplaySetting(&_saved, 0);
}

} // namespace app
