#ifndef PLOVIX_TOOLS_DESKTOPPROBE_INPUTSENDER_H
#define PLOVIX_TOOLS_DESKTOPPROBE_INPUTSENDER_H

#include <windows.h>

namespace tools {
namespace desktopprobe {

// What a user does, injected into the input stream as the hardware would:
// it reaches whichever window has the focus or lies under the pointer.
// Shared by the benchmark and the tests that end the saver as a user does.
// Each operation answers whether the system took all of the input.
class InputSender {
public:
    InputSender() = delete;

    // The key pressed and released.
    static bool key(WORD virtualKey);
    // The left button pressed and released where the pointer is.
    static bool click();
    // The pointer moved to one of two points next to each other, by the
    // parity of `index`: a move to where the pointer already is counts as
    // none.
    static bool moveMouse(int index);
    // The pointer moved to the point (x, y) of the desktop, on whichever
    // monitor that lies.
    static bool moveMouseTo(int x, int y);
};

} // namespace desktopprobe
} // namespace tools

#endif
