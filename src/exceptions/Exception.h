#ifndef PLOVIX_EXCEPTIONS_EXCEPTION_H
#define PLOVIX_EXCEPTIONS_EXCEPTION_H

#include <string>

namespace exceptions {

// Root of every failure the program throws. The thrower composes the whole
// message; handlers read it through this interface and show it unchanged.
class Exception {
public:
    virtual ~Exception() = default;
    virtual const std::string& getMessage() const = 0;

protected:
    Exception() = default;
    Exception(const Exception&) = default;
    Exception& operator=(const Exception&) = default;
};

} // namespace exceptions

#endif
