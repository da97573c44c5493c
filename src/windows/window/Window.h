#ifndef PLOVIX_WINDOWS_WINDOW_WINDOW_H
#define PLOVIX_WINDOWS_WINDOW_WINDOW_H

#include <windows.h>

#include <string>

#include "windows/window/MessageListener.h"

namespace windows {
namespace window {

// One window as its user sees it: messages through a listener, a pump, its
// size and handle, showing and hiding.
class Window {
public:
    virtual ~Window() = default;
    virtual void addMessageListener(MessageListener* listener) = 0;
    virtual void removeMessageListener() = 0;
    // Dispatches at most one waiting message; never waits.
    virtual void processMessage() = 0;
    // Returns once the calling thread has a message of any kind waiting,
    // also one already seen but not yet taken. Throws WindowException when
    // the wait fails.
    virtual void waitForMessage() = 0;
    virtual int getWidth() = 0;
    virtual int getHeight() = 0;
    virtual HWND getHandle() = 0;
    // Kept in the interface; nothing in the product calls them.
    virtual bool isVisible() = 0;
    virtual void show(bool visible) = 0;
    virtual std::string getClassName() = 0;
};

} // namespace window
} // namespace windows

#endif
