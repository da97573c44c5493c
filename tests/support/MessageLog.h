#ifndef PLOVIX_TESTS_SUPPORT_MESSAGELOG_H
#define PLOVIX_TESTS_SUPPORT_MESSAGELOG_H

#include <windows.h>

#include <vector>

#include "windows/window/MessageMapper.h"

namespace support {

// A listener that logs every message it gets and answers the test's own
// PROBE message with `result`, optionally removing itself while called.
class MessageLog : public windows::window::MessageListener {
public:
    static const UINT PROBE = WM_APP + 7;

    virtual ~MessageLog() = default;
    LRESULT windowCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(message);
        if (message != PROBE) {
            return DefWindowProcA(window, message, wParam, lParam);
        }
        probes.push_back({window, wParam, lParam});
        if (removeItself) {
            windows::window::MessageMapper::instance().remove(window);
        }
        return result;
    }

    struct Probe {
        HWND window;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<UINT> messages;
    std::vector<Probe> probes;
    LRESULT result = 0;
    bool removeItself = false;
};

} // namespace support

#endif
