#include "windows/graphics/PaintContext.h"

namespace windows {
namespace graphics {

PaintContext::PaintContext(HWND window)
    : _window(window)
    , _paint()
    , _deviceContext(BeginPaint(window, &_paint)) {}

PaintContext::~PaintContext() {
    if (_deviceContext != nullptr) {
        EndPaint(_window, &_paint);
    }
}

} // namespace graphics
} // namespace windows
