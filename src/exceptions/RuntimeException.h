#ifndef PLOVIX_EXCEPTIONS_RUNTIMEEXCEPTION_H
#define PLOVIX_EXCEPTIONS_RUNTIMEEXCEPTION_H

#include "exceptions/Exception.h"

namespace exceptions {

// Catch type for failures caused by what the program was asked to do, as
// opposed to failures of the platform underneath it.
class RuntimeException : public Exception {
protected:
    RuntimeException() = default;
    RuntimeException(const RuntimeException&) = default;
    RuntimeException& operator=(const RuntimeException&) = default;
};

} // namespace exceptions

#endif
