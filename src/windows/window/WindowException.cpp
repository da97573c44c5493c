#include "windows/window/WindowException.h"

namespace windows {
namespace window {

WindowException::WindowException(const std::string& message)
    : _message(message) {}

const std::string& WindowException::getMessage() const {
    return _message;
}

} // namespace window
} // namespace windows
