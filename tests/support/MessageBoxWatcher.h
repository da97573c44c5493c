#ifndef PLOVIX_TESTS_SUPPORT_MESSAGEBOXWATCHER_H
#define PLOVIX_TESTS_SUPPORT_MESSAGEBOXWATCHER_H

#include <windows.h>

#include <string>
#include <thread>

namespace support {

// What a user reads in a message box.
struct MessageBoxContents {
    bool found = false;
    std::string text;
    HICON icon = nullptr;
    HWND owner = nullptr;
};

namespace detail {

// The box's icon is the one static control of icon style; its control number
// differs between Windows and Wine.
inline BOOL CALLBACK findIcon(HWND child, LPARAM found) {
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HICON*>(found) =
            reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        return FALSE;
    }
    return TRUE;
}

} // namespace detail

// Waits for a message box with the given caption (of any process), reads it
// and presses OK. Gives up after `milliseconds`.
inline MessageBoxContents closeMessageBox(const std::string& caption, int milliseconds = 10000) {
    MessageBoxContents contents;
    for (int waited = 0; waited < milliseconds; waited += 10) {
        const HWND box = FindWindowA("#32770", caption.c_str());
        // Visible only once it is filled in.
        if (box != nullptr && IsWindowVisible(box)) {
            contents.found = true;
            char buffer[4096] = {};
            // 0xFFFF: the static control that holds a message box's text.
            GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
            contents.text = buffer;
            EnumChildWindows(box, detail::findIcon, reinterpret_cast<LPARAM>(&contents.icon));
            contents.owner = GetWindow(box, GW_OWNER);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return contents;
        }
        Sleep(10);
    }
    return contents;
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
