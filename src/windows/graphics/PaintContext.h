#ifndef PLOVIX_WINDOWS_GRAPHICS_PAINTCONTEXT_H
#define PLOVIX_WINDOWS_GRAPHICS_PAINTCONTEXT_H

#include <windows.h>

namespace windows {
namespace graphics {

// One WM_PAINT's device context: BeginPaint when made, EndPaint when gone,
// however the painting in between ends.
class PaintContext {
public:
    explicit PaintContext(HWND window);
    ~PaintContext();

    PaintContext(const PaintContext&) = delete;
    PaintContext& operator=(const PaintContext&) = delete;

    // Null when BeginPaint failed; then there is nothing to paint or end.
    HDC deviceContext() const { return _deviceContext; }
    const PAINTSTRUCT& paint() const { return _paint; }

private:
    HWND _window;
    PAINTSTRUCT _paint;
    HDC _deviceContext;
};

} // namespace graphics
} // namespace windows

#endif
