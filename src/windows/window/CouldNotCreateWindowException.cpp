#include "windows/window/CouldNotCreateWindowException.h"

namespace windows {
namespace window {

CouldNotCreateWindowException::CouldNotCreateWindowException(const std::string& message)
    : WindowException(message) {}

} // namespace window
} // namespace windows
