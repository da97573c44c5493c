#ifndef PLOVIX_WINDOWS_WINDOW_MESSAGELISTENER_H
#define PLOVIX_WINDOWS_WINDOW_MESSAGELISTENER_H

#include <windows.h>

namespace windows {
namespace window {

// Receives the messages of one window through the MessageMapper. Listeners
// are never deleted through this interface, hence no virtual destructor.
class MessageListener {
public:
    virtual LRESULT windowCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    MessageListener() = default;
    MessageListener(const MessageListener&) = default;
    MessageListener& operator=(const MessageListener&) = default;
    ~MessageListener() = default;
};

} // namespace window
} // namespace windows

#endif
