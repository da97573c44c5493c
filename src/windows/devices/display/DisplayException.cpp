#include "windows/devices/display/DisplayException.h"

namespace windows {
namespace devices {
namespace display {

DisplayException::DisplayException(const std::string& message, long result)
    : _message(message)
    , _result(result) {}

const std::string& DisplayException::getMessage() const {
    return _message;
}

} // namespace display
} // namespace devices
} // namespace windows
