#ifndef PLOVIX_WINDOWS_WINDOW_MESSAGEMAPPER_H
#define PLOVIX_WINDOWS_WINDOW_MESSAGEMAPPER_H

#include <windows.h>

#include <map>

#include "platform/mutex/MutexImpl.h"
#include "windows/window/MessageListener.h"

namespace windows {
namespace window {

// The program-wide registry from window handle to the listener that wants
// that window's messages. The one window procedure of every class the
// program registers asks it where each message goes, so nothing about the
// listener is stored in the window itself.
class MessageMapper {
public:
    MessageMapper();
    virtual ~MessageMapper();

    MessageMapper(const MessageMapper&) = delete;
    MessageMapper& operator=(const MessageMapper&) = delete;

    void add(HWND windowHandle, MessageListener* listener);
    void remove(HWND windowHandle);
    bool exists(HWND windowHandle);
    MessageListener* get(HWND windowHandle);
    // The listener's result, or DefWindowProcA's for a window without one.
    // No lock is held while either runs.
    LRESULT dispatch(HWND windowHandle, UINT message, WPARAM wParam, LPARAM lParam);

    // The program's one instance.
    static MessageMapper& instance();

private:
    std::map<HWND, MessageListener*> _listeners;
    platform::mutex::MutexImpl _mutex;
};

// The window procedure of every class registered without one of its own.
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace window
} // namespace windows

#endif
