#include "windows/graphics/WindowDeviceContext.h"

namespace windows {
namespace graphics {

WindowDeviceContext::WindowDeviceContext(HWND window)
    : _taken(Taken{window, GetDC(window)}) {}

void WindowDeviceContext::_release(Taken taken) {
    ReleaseDC(taken.window, taken.deviceContext);
}

} // namespace graphics
} // namespace windows
