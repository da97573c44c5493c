#ifndef PLOVIX_TESTS_SUPPORT_MESSAGEBOXWATCHER_H
#define PLOVIX_TESTS_SUPPORT_MESSAGEBOXWATCHER_H

#include <windows.h>

#include <string>
#include <thread>

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

// Does the same from a second thread, for a box that the test's own thread
// is about to show.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(std::string caption)
        : _thread([this, caption] { contents = closeMessageBox(caption); }) {}
    ~MessageBoxWatcher() { join(); }
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    // The contents are there once this returns.
    void join() {
        if (_thread.joinable()) {
            _thread.join();
        }
    }

    MessageBoxContents contents;

private:
    std::thread _thread;
};

} // namespace support

#endif
