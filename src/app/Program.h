#ifndef PLOVIX_APP_PROGRAM_H
#define PLOVIX_APP_PROGRAM_H

#include "app/ExitPolicy.h"
#include "app/MessageReporter.h"
#include "windows/devices/display/DisplaySettings.h"
#include "windows/screensaver/ProcessContext.h"

namespace app {

extern const char* const APPLICATION_NAME;
extern const char* const WINDOW_TITLE;
extern const char* const WINDOW_CLASS_NAME;

// The whole program once its long-lived objects exist: builds the screen
// saver and the router over the process's command line, runs the chosen
// mode and turns a failure that reaches it into an error box. Returns the
// exit code: 0 when the mode returned normally, 1 when a failure reached it.
int runProgram(MessageReporter& reporter, windows::devices::display::DisplaySettings& display,
               ExitPolicy& exitPolicy, const windows::screensaver::ProcessContext& process);

} // namespace app

#endif
