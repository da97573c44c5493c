#include "windows/window/CouldNotRegisterClassException.h"

namespace windows {
namespace window {

CouldNotRegisterClassException::CouldNotRegisterClassException(const std::string& message)
    : WindowException(message) {}

} // namespace window
} // namespace windows
