#ifndef PLOVIX_WINDOWS_GRAPHICS_PAINTCONTEXT_H
#define PLOVIX_WINDOWS_GRAPHICS_PAINTCONTEXT_H

#include <windows.h>

#include "platform/handles/UniqueHandle.h"

namespace windows {
namespace graphics {

// One WM_PAINT's device context: BeginPaint when made, EndPaint when gone,
// however the painting in between ends.
class PaintContext {
public:
    explicit PaintContext(HWND window);

    PaintContext(const PaintContext&) = delete;
    PaintContext& operator=(const PaintContext&) = delete;

    // Null when BeginPaint failed; then there is nothing to paint or end.
    HDC deviceContext() const { return _painting.get().deviceContext; }
    const PAINTSTRUCT& paint() const { return _paint; }

private:
    // What EndPaint takes back: the window and what BeginPaint filled in.
    // Without a device context there is nothing to end.
    struct Painting {
        HWND window;
        const PAINTSTRUCT* paint;
        HDC deviceContext;
        bool operator==(const Painting& other) const {
            return deviceContext == other.deviceContext;
        }
    };
    static void _end(Painting painting);

    PAINTSTRUCT _paint;
    platform::handles::UniqueHandle<Painting, &PaintContext::_end> _painting;
};

} // namespace graphics
} // namespace windows

#endif
