#ifndef PLOVIX_TOOLS_DESKTOPPROBE_MESSAGEBOXREADER_H
#define PLOVIX_TOOLS_DESKTOPPROBE_MESSAGEBOXREADER_H

#include <windows.h>

#include <string>

#include "timeouts/Timeouts.h"

namespace tools {
namespace desktopprobe {

// Finds a message box of any process by its caption, reads what a user sees
// in it and answers it; shared by the probe that the run and installer
// commands use and by the tests that answer the saver's boxes.
class MessageBoxReader {
public:
    struct Contents {
        bool found = false;
        std::string text;
        HICON icon = nullptr;
        HWND owner = nullptr;
    };

    MessageBoxReader() = delete;

    // The message box with this caption once it is filled in and shown, or
    // null.
    static HWND find(const std::string& caption);
    static Contents read(HWND box);
    // Waits up to `milliseconds` for the box, reads it and presses its OK
    // button (by the button's command, so no focus is needed); `found` is
    // false when no box came.
    static Contents answer(const std::string& caption, DWORD milliseconds = timeouts::WAIT_MS);
};

} // namespace desktopprobe
} // namespace tools

#endif
