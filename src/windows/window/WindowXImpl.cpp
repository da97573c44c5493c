#include "windows/window/WindowXImpl.h"

#include <cstdint>

#include "platform/errorresources/SystemErrors.h"
#include "util/Assertion.h"
#include "windows/window/CouldNotCreateWindowException.h"
#include "windows/window/MessageMapper.h"
#include "windows/window/WindowException.h"
#include "windows/window/WindowHelper.h"

namespace windows {
namespace window {

namespace {

// Half the room left on screen. Taken on unsigned values: a window larger
// than the screen lands far off it rather than at a negative position.
int centred(int screen, int size) {
    const std::uint32_t room =
        static_cast<std::uint32_t>(screen) - static_cast<std::uint32_t>(size);
    return static_cast<int>(room / 2);
}

} // namespace

WindowXImpl::WindowXImpl(HINSTANCE instance)
    : _instance(instance)
    , _handle(nullptr)
    , _classRegistered(false)
    , _registeredClassName() {}

WindowXImpl::~WindowXImpl() {
    try {
        destroy();
    } catch (...) {
        // Only the mapper's lock can throw here, and a destructor must not.
        PLOVIX_CHECK(false);
    }
}

void WindowXImpl::create(WindowParameters parameters) {
    WNDCLASSEXA& windowClass = parameters.windowClass;
    if (windowClass.lpfnWndProc == nullptr) {
        windowClass.lpfnWndProc = windowProcedure;
    }
    const std::string className =
        windowClass.lpszClassName != nullptr ? windowClass.lpszClassName : "";
    if (parameters.shouldRegisterClass) {
        WindowHelper::registerClass(windowClass);
        _registeredClassName = className;
    }
    _classRegistered = parameters.shouldRegisterClass;

    int x = 0;
    int y = 0;
    if (parameters.position) {
        x = parameters.position->x;
        y = parameters.position->y;
    } else if ((parameters.style & WS_CHILD) == 0) {
        x = centred(GetSystemMetrics(SM_CXSCREEN), parameters.width);
        y = centred(GetSystemMetrics(SM_CYSCREEN), parameters.height);
    }
    try {
        _handle =
            WindowHelper::createWindow(parameters.exStyle, className, parameters.title,
                                       parameters.style, x, y, parameters.width, parameters.height,
                                       parameters.parent, nullptr, windowClass.hInstance, nullptr);
    } catch (const CouldNotCreateWindowException&) {
        destroy();
        throw;
    }
}

void WindowXImpl::destroy() {
    // Named as this class's own: the destructor calls it too.
    if (_handle != nullptr) {
        WindowXImpl::removeMessageListener();
        DestroyWindow(_handle);
        _handle = nullptr;
    }
    if (_classRegistered) {
        UnregisterClassA(WindowXImpl::getClassName().c_str(), _instance);
        _classRegistered = false;
        _registeredClassName.clear();
    }
}

void WindowXImpl::addMessageListener(MessageListener* listener) {
    MessageMapper::instance().add(_handle, listener);
}

void WindowXImpl::removeMessageListener() {
    MessageMapper::instance().remove(_handle);
}

void WindowXImpl::processMessage() {
    MSG message;
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void WindowXImpl::waitForMessage() {
    // Touch and pen input arrive under flags of their own, which Windows 8
    // brought; older systems refuse them, and then do without. Windows 7's
    // mask is spelt out: built for Windows 8 or later, QS_ALLINPUT holds the
    // new flags too.
    const DWORD windows7Mask = QS_MOUSE | QS_KEY | QS_RAWINPUT | QS_POSTMESSAGE | QS_TIMER |
                               QS_PAINT | QS_HOTKEY | QS_SENDMESSAGE;
    const DWORD touchAndPen = 0x0800 | 0x1000; // QS_TOUCH | QS_POINTER
    static DWORD wakeMask = windows7Mask | touchAndPen;
    DWORD result = waitForInput(wakeMask);
    if (result == WAIT_FAILED && GetLastError() == ERROR_INVALID_PARAMETER &&
        wakeMask != windows7Mask) {
        wakeMask = windows7Mask;
        result = waitForInput(wakeMask);
    }
    if (result == WAIT_FAILED) {
        platform::errorresources::SystemErrors::throwLastError<WindowException>(
            [](const std::string& reason) {
                return "Could not wait for a message using 'MsgWaitForMultipleObjectsEx'.\n" +
                       reason;
            });
    }
}

DWORD WindowXImpl::waitForInput(DWORD wakeMask) {
    return MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, wakeMask, MWMO_INPUTAVAILABLE);
}

bool WindowXImpl::_getRect(RECT& rect) {
    const BOOL ret = GetWindowRect(_handle, &rect);
    PLOVIX_CHECK(ret);
    return ret != 0;
}

int WindowXImpl::getWidth() {
    RECT rect;
    return _getRect(rect) ? rect.right - rect.left : 0;
}

int WindowXImpl::getHeight() {
    RECT rect;
    return _getRect(rect) ? rect.bottom - rect.top : 0;
}

HWND WindowXImpl::getHandle() {
    return _handle;
}

bool WindowXImpl::isVisible() {
    return (static_cast<DWORD>(GetWindowLongA(_handle, GWL_STYLE)) & WS_VISIBLE) != 0;
}

void WindowXImpl::show(bool visible) {
    PLOVIX_CHECK(_handle);
    if (visible) {
        ShowWindow(_handle, SW_SHOWNORMAL);
        SetForegroundWindow(_handle);
    } else {
        ShowWindow(_handle, SW_HIDE);
    }
}

std::string WindowXImpl::getClassName() {
    if (!_registeredClassName.empty()) {
        return _registeredClassName;
    }
    return WindowHelper::getClassName(_handle, false);
}

void WindowXImpl::center() {
    setPosition(centred(GetSystemMetrics(SM_CXSCREEN), getWidth()),
                centred(GetSystemMetrics(SM_CYSCREEN), getHeight()));
}

void WindowXImpl::setPosition(int x, int y) {
    SetWindowPos(_handle, nullptr, x, y, 0, 0, SWP_NOSIZE);
}

} // namespace window
} // namespace windows
