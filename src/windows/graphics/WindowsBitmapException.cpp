#include "windows/graphics/WindowsBitmapException.h"

namespace windows {
namespace graphics {

WindowsBitmapException::WindowsBitmapException(const std::string& message)
    : _message(message) {}

const std::string& WindowsBitmapException::getMessage() const {
    return _message;
}

} // namespace graphics
} // namespace windows
