#include "platform/mutex/MutexException.h"

namespace platform {
namespace mutex {

MutexException::MutexException(const std::string& message)
    : _message(message) {}

const std::string& MutexException::getMessage() const {
    return _message;
}

} // namespace mutex
} // namespace platform
