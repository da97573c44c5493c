#include "windows/graphics/Cursor.h"

namespace windows {
namespace graphics {

HCURSOR setCursor(HCURSOR cursor) {
    return SetCursor(cursor);
}

} // namespace graphics
} // namespace windows
