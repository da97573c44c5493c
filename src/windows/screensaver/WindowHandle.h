#ifndef PLOVIX_WINDOWS_SCREENSAVER_WINDOWHANDLE_H
#define PLOVIX_WINDOWS_SCREENSAVER_WINDOWHANDLE_H

// The window handle that the screen-saver interfaces pass around. Away from
// Windows it is the opaque pointer <windows.h> declares under STRICT, so that
// the router and its tests also build and run on the build machine.
#ifdef _WIN32
#include <windows.h>
#else
// NOLINTNEXTLINE(bugprone-reserved-identifier): <windows.h>'s own name for it
struct HWND__;
using HWND = HWND__*;
#endif

#endif
