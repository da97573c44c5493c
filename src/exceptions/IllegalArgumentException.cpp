#include "exceptions/IllegalArgumentException.h"

namespace exceptions {

IllegalArgumentException::IllegalArgumentException(const std::string& message)
    : _message(message) {}

const std::string& IllegalArgumentException::getMessage() const {
    return _message;
}

} // namespace exceptions
