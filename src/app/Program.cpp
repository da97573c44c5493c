#include "app/Program.h"

#include "app/PlovixsaverImpl.h"
#include "app/resources/Product.h"
#include "exceptions/Exception.h"
#include "windows/screensaver/ScreensaverRouter.h"

namespace app {

const char* const APPLICATION_NAME = PLOVIX_PRODUCT_NAME;
const char* const WINDOW_TITLE = "Plovixscreen Screensaver";
const char* const WINDOW_CLASS_NAME = "PLOVIXSAVER_CLASSNAME";

int runProgram(MessageReporter& reporter, windows::devices::display::DisplaySettings& display,
               ExitPolicy& exitPolicy, const windows::screensaver::ProcessContext& process) {
    try {
        // The router goes first when the scope ends, then the screen saver,
        // whose pictures may fail to release and are then reported below.
        PlovixsaverImpl screensaver(&reporter, &display, &exitPolicy, WINDOW_TITLE,
                                    WINDOW_CLASS_NAME);
        windows::screensaver::ScreensaverRouter router(screensaver, "", process);
        router.route();
    } catch (const exceptions::Exception& e) {
        reporter.reportError(e.getMessage());
        return 1;
    } catch (...) {
        reporter.reportError("... exception caught!");
        return 1;
    }
    return 0;
}

} // namespace app
