#ifndef PLOVIX_PLATFORM_MUTEX_MUTEX_H
#define PLOVIX_PLATFORM_MUTEX_MUTEX_H

namespace platform {
namespace mutex {

// A lock that one thread holds at a time.
class Mutex {
public:
    virtual ~Mutex() = default;
    virtual void lock() = 0;
    virtual void unlock() = 0;
};

} // namespace mutex
} // namespace platform

#endif
