#include "windows/window/MessageMapper.h"

#include "platform/mutex/ScopedLock.h"
#include "util/Assertion.h"

namespace windows {
namespace window {

using platform::mutex::ScopedLock;

namespace {

// Built during static initialisation, before any handler that could show an
// error exists: a mutex that cannot be created is reported when first locked.
MessageMapper programMapper;

} // namespace

MessageMapper& MessageMapper::instance() {
    return programMapper;
}

MessageMapper::MessageMapper()
    : _listeners()
    , _mutex(std::nothrow) {}

MessageMapper::~MessageMapper() = default;

void MessageMapper::add(HWND windowHandle, MessageListener* listener) {
    PLOVIX_CHECK(windowHandle != 0);
    const ScopedLock lock(_mutex);
    PLOVIX_CHECK(exists(windowHandle) == false);
    _listeners[windowHandle] = listener;
}

void MessageMapper::remove(HWND windowHandle) {
    PLOVIX_CHECK(windowHandle != 0);
    const ScopedLock lock(_mutex);
    _listeners.erase(windowHandle);
}

bool MessageMapper::exists(HWND windowHandle) {
    const ScopedLock lock(_mutex);
    return _listeners.find(windowHandle) != _listeners.end();
}

MessageListener* MessageMapper::get(HWND windowHandle) {
    const ScopedLock lock(_mutex);
    const auto found = _listeners.find(windowHandle);
    return found != _listeners.end() ? found->second : nullptr;
}

LRESULT MessageMapper::dispatch(HWND windowHandle, UINT message, WPARAM wParam, LPARAM lParam) {
    PLOVIX_CHECK(windowHandle != 0);
    if (!exists(windowHandle)) {
        return DefWindowProcA(windowHandle, message, wParam, lParam);
    }
    MessageListener* ml = get(windowHandle);
    PLOVIX_CHECK(ml);
    if (ml == nullptr) {
        // Removed between the two look-ups, or added without a listener.
        return DefWindowProcA(windowHandle, message, wParam, lParam);
    }
    return ml->windowCallback(windowHandle, message, wParam, lParam);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return MessageMapper::instance().dispatch(window, message, wParam, lParam);
}

} // namespace window
} // namespace windows
