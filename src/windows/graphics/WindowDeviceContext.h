#ifndef PLOVIX_WINDOWS_GRAPHICS_WINDOWDEVICECONTEXT_H
#define PLOVIX_WINDOWS_GRAPHICS_WINDOWDEVICECONTEXT_H

#include <windows.h>

#include "platform/handles/UniqueHandle.h"

namespace windows {
namespace graphics {

// A window's device context outside WM_PAINT, or the screen's for a null
// window: GetDC when made, ReleaseDC when gone.
class WindowDeviceContext {
public:
    explicit WindowDeviceContext(HWND window);

    WindowDeviceContext(const WindowDeviceContext&) = delete;
    WindowDeviceContext& operator=(const WindowDeviceContext&) = delete;

    // Null when GetDC failed; then there is nothing to paint or release.
    HDC deviceContext() const { return _taken.get().deviceContext; }

private:
    // What ReleaseDC takes back: the device context and the window it is
    // of. Without a device context there is nothing to release.
    struct Taken {
        HWND window;
        HDC deviceContext;
        bool operator==(const Taken& other) const { return deviceContext == other.deviceContext; }
    };
    static void _release(Taken taken);

    platform::handles::UniqueHandle<Taken, &WindowDeviceContext::_release> _taken;
};

} // namespace graphics
} // namespace windows

#endif
