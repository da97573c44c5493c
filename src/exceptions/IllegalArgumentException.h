#ifndef PLOVIX_EXCEPTIONS_ILLEGALARGUMENTEXCEPTION_H
#define PLOVIX_EXCEPTIONS_ILLEGALARGUMENTEXCEPTION_H

#include <string>

#include "exceptions/RuntimeException.h"

namespace exceptions {

// An argument (a flag declaration, a command line) that breaks the rules of
// the operation it was handed to.
class IllegalArgumentException : public RuntimeException {
public:
    explicit IllegalArgumentException(const std::string& message);

    const std::string& getMessage() const override;

private:
    std::string _message;
};

} // namespace exceptions

#endif
