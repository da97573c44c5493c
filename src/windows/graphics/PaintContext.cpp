#include "windows/graphics/PaintContext.h"

namespace windows {
namespace graphics {

PaintContext::PaintContext(HWND window)
    : _paint()
    , _painting(Painting{window, &_paint, BeginPaint(window, &_paint)}) {}

void PaintContext::_end(Painting painting) {
    EndPaint(painting.window, painting.paint);
}

} // namespace graphics
} // namespace windows
