#ifndef PLOVIX_WINDOWS_GRAPHICS_WINDOWDEVICECONTEXT_H
#define PLOVIX_WINDOWS_GRAPHICS_WINDOWDEVICECONTEXT_H

#include <windows.h>

namespace windows {
namespace graphics {

// A window's device context outside WM_PAINT, or the screen's for a null
// window: GetDC when made, ReleaseDC when gone.
class WindowDeviceContext {
public:
    explicit WindowDeviceContext(HWND window);
    ~WindowDeviceContext();

    WindowDeviceContext(const WindowDeviceContext&) = delete;
    WindowDeviceContext& operator=(const WindowDeviceContext&) = delete;

    // Null when GetDC failed; then there is nothing to paint or release.
    HDC deviceContext() const { return _deviceContext; }

private:
    HWND _window;
    HDC _deviceContext;
};

} // namespace graphics
} // namespace windows

#endif
