#ifndef PLOVIX_WINDOWS_GRAPHICS_CURSOR_H
#define PLOVIX_WINDOWS_GRAPHICS_CURSOR_H

#include <windows.h>

namespace windows {
namespace graphics {

// Sets the mouse pointer (null hides it) and returns the one set before.
HCURSOR setCursor(HCURSOR cursor);

} // namespace graphics
} // namespace windows

#endif
