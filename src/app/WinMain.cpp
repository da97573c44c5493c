#include <windows.h>

#include "app/InputExitPolicy.h"
#include "app/MessageBoxReporter.h"
#include "app/Program.h"
#include "windows/devices/display/WindowsDisplaySettings.h"
#include "windows/screensaver/WindowsProcessContext.h"

// Windows starts a screen saver with "/s", "/c[:hwnd]", "/p hwnd" or no flag;
// the command line is read from the process, so the arguments are not used.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    app::MessageBoxReporter reporter(app::APPLICATION_NAME);
    windows::devices::display::WindowsDisplaySettings display;
    app::InputExitPolicy exitPolicy;
    const windows::screensaver::WindowsProcessContext process;
    return app::runProgram(reporter, display, exitPolicy, process);
}
