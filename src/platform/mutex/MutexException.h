#ifndef PLOVIX_PLATFORM_MUTEX_MUTEXEXCEPTION_H
#define PLOVIX_PLATFORM_MUTEX_MUTEXEXCEPTION_H

#include <string>

#include "exceptions/Exception.h"

namespace platform {
namespace mutex {

// Creating, locking or releasing the mutex failed, or it was unlocked by a
// thread that does not hold it.
class MutexException : public exceptions::Exception {
public:
    explicit MutexException(const std::string& message);

    const std::string& getMessage() const override;

private:
    std::string _message;
};

} // namespace mutex
} // namespace platform

#endif
