#ifndef PLOVIX_EXCEPTIONS_NUMBERFORMATEXCEPTION_H
#define PLOVIX_EXCEPTIONS_NUMBERFORMATEXCEPTION_H

#include <string>

#include "exceptions/Exception.h"

namespace exceptions {

// A text that should hold a number does not. Deliberately not an
// IllegalArgumentException, so handlers can tell a bad handle argument apart
// from a bad flag.
class NumberFormatException : public Exception {
public:
    explicit NumberFormatException(const std::string& message);

    const std::string& getMessage() const override;

private:
    std::string _message;
};

} // namespace exceptions

#endif
