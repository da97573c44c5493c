#ifndef PLOVIX_TESTS_SUPPORT_MESSAGEBOXWATCHER_H
#define PLOVIX_TESTS_SUPPORT_MESSAGEBOXWATCHER_H

#include <windows.h>

#include <string>
#include <thread>

namespace support {

// From a second thread, waits for a message box with the given caption,
// reads it as a user would and presses OK. Gives up after ten seconds.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(std::string caption)
        : _caption(std::move(caption))
        , _thread([this] { _watch(); }) {}
    ~MessageBoxWatcher() { join(); }
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    void join() {
        if (_thread.joinable()) {
            _thread.join();
        }
    }

    bool found = false;
    std::string text;
    HICON icon = nullptr;
    HWND owner = nullptr;

private:
    void _watch() {
        for (int tries = 0; tries < 1000; ++tries) {
            const HWND box = FindWindowA("#32770", _caption.c_str());
            // Visible only once it is filled in.
            if (box != nullptr && IsWindowVisible(box)) {
                found = true;
                char buffer[4096] = {};
                // The static control that holds a message box's text.
                GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
                text = buffer;
                EnumChildWindows(box, &MessageBoxWatcher::_findIcon,
                                 reinterpret_cast<LPARAM>(&icon));
                owner = GetWindow(box, GW_OWNER);
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(10);
        }
    }

    // The box's icon is the one static control of icon style; its control
    // number differs between Windows and Wine.
    static BOOL CALLBACK _findIcon(HWND child, LPARAM found) {
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if ((style & SS_TYPEMASK) == SS_ICON) {
            *reinterpret_cast<HICON*>(found) =
                reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
            return FALSE;
        }
        return TRUE;
    }

    std::string _caption;
    std::thread _thread;
};

} // namespace support

#endif
