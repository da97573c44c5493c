#ifndef PLOVIX_TESTS_SUPPORT_MESSAGEBOXWATCHER_H
#define PLOVIX_TESTS_SUPPORT_MESSAGEBOXWATCHER_H

#include <windows.h>

#include <string>

#include "desktopprobe/MessageBoxReader.h"

namespace support {

using MessageBoxContents = tools::desktopprobe::MessageBoxReader::Contents;

// Waits for a message box with the given caption (of any process), reads it
// and presses OK. Gives up after `milliseconds`.
inline MessageBoxContents closeMessageBox(const std::string& caption, int milliseconds = 10000) {
    using tools::desktopprobe::MessageBoxReader;
    for (int waited = 0; waited < milliseconds; waited += 10) {
        const HWND box = MessageBoxReader::find(caption);
        if (box != nullptr) {
            const MessageBoxContents contents = MessageBoxReader::read(box);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return contents;
        }
        Sleep(10);
    }
    return MessageBoxContents();
}

} // namespace support

#endif
