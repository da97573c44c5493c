#include "windows/graphics/HiddenCursor.h"

#include "windows/graphics/Cursor.h"

namespace windows {
namespace graphics {

HiddenCursor::HiddenCursor()
    : _previous(setCursor(nullptr)) {}

HiddenCursor::~HiddenCursor() {
    if (_previous != nullptr) {
        setCursor(_previous);
    }
}

} // namespace graphics
} // namespace windows
