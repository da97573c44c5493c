#include "platform/mutex/ScopedLock.h"

#include "util/Assertion.h"

namespace platform {
namespace mutex {

ScopedLock::ScopedLock(Mutex& mutex)
    : _locked(false)
    , _mutex(mutex) {
    _mutex.lock();
    _locked = true;
}

ScopedLock::~ScopedLock() {
    if (!_locked) {
        return;
    }
    try {
        _mutex.unlock();
    } catch (...) {
        // A destructor must not throw; the unlock can only fail here if the
        // lock was already broken by someone else.
        PLOVIX_CHECK(false);
    }
}

} // namespace mutex
} // namespace platform
