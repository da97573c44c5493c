#ifndef PLOVIX_PLATFORM_MUTEX_SCOPEDLOCK_H
#define PLOVIX_PLATFORM_MUTEX_SCOPEDLOCK_H

#include "platform/mutex/Mutex.h"

namespace platform {
namespace mutex {

// Holds a Mutex for the extent of a block, however the block is left.
class ScopedLock {
public:
    // Locks; if that throws, nothing is held and nothing will be unlocked.
    explicit ScopedLock(Mutex& mutex);
    virtual ~ScopedLock();

    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    bool _locked;
    Mutex& _mutex;
};

} // namespace mutex
} // namespace platform

#endif
