#include "windows/window/CouldNotGetClassNameException.h"

namespace windows {
namespace window {

CouldNotGetClassNameException::CouldNotGetClassNameException(const std::string& message)
    : WindowException(message) {}

} // namespace window
} // namespace windows
