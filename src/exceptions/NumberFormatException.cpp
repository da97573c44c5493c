#include "exceptions/NumberFormatException.h"

namespace exceptions {

NumberFormatException::NumberFormatException(const std::string& message)
    : _message(message) {}

const std::string& NumberFormatException::getMessage() const {
    return _message;
}

} // namespace exceptions
