#ifndef PLOVIX_WINDOWS_WINDOW_WINDOWXIMPL_H
#define PLOVIX_WINDOWS_WINDOW_WINDOWXIMPL_H

#include <windows.h>

#include <string>

#include "windows/window/Window.h"
#include "windows/window/WindowParameters.h"

namespace windows {
namespace window {

// Owns one window and, when it registered it, its window class. destroy
// (also run by the destructor) undoes exactly what create did, in reverse:
// listener, window, class.
class WindowXImpl : public Window {
public:
    explicit WindowXImpl(HINSTANCE instance);
    ~WindowXImpl() override;

    WindowXImpl(const WindowXImpl&) = delete;
    WindowXImpl& operator=(const WindowXImpl&) = delete;

    // Registers the class if asked, centres a top-level window on the screen
    // (a child goes to 0,0) and creates the window. Throws
    // CouldNotRegisterClassException or CouldNotCreateWindowException; after
    // a failure nothing of this call is left registered.
    void create(WindowParameters parameters);
    void destroy();

    void addMessageListener(MessageListener* listener) override;
    void removeMessageListener() override;
    void processMessage() override;
    void waitForMessage() override;
    // 0 when the system cannot measure the window.
    int getWidth() override;
    int getHeight() override;
    HWND getHandle() override;
    bool isVisible() override;
    void show(bool visible) override;
    std::string getClassName() override;

    // Kept in the interface; nothing calls it.
    virtual void center();
    virtual void setPosition(int x, int y);

protected:
    // The system's wait for a message of the kinds in `wakeMask`, open to a
    // test that plays a system refusing some of them; answers as
    // MsgWaitForMultipleObjectsEx does.
    virtual DWORD waitForInput(DWORD wakeMask);

private:
    bool _getRect(RECT& rect);

    HINSTANCE _instance;
    HWND _handle;
    bool _classRegistered;
    std::string _registeredClassName;
};

} // namespace window
} // namespace windows

#endif
