#include "windows/graphics/WindowDeviceContext.h"

namespace windows {
namespace graphics {

WindowDeviceContext::WindowDeviceContext(HWND window)
    : _window(window)
    , _deviceContext(GetDC(window)) {}

WindowDeviceContext::~WindowDeviceContext() {
    if (_deviceContext != nullptr) {
        ReleaseDC(_window, _deviceContext);
    }
}

} // namespace graphics
} // namespace windows
