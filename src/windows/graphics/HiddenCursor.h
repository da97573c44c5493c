#ifndef PLOVIX_WINDOWS_GRAPHICS_HIDDENCURSOR_H
#define PLOVIX_WINDOWS_GRAPHICS_HIDDENCURSOR_H

#include <windows.h>

namespace windows {
namespace graphics {

// Hides the mouse pointer for its lifetime and shows the one that was set
// before again, however its scope is left.
class HiddenCursor {
public:
    HiddenCursor();
    ~HiddenCursor();

    HiddenCursor(const HiddenCursor&) = delete;
    HiddenCursor& operator=(const HiddenCursor&) = delete;

private:
    HCURSOR _previous;
};

} // namespace graphics
} // namespace windows

#endif
