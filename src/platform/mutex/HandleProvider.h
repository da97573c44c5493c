#ifndef PLOVIX_PLATFORM_MUTEX_HANDLEPROVIDER_H
#define PLOVIX_PLATFORM_MUTEX_HANDLEPROVIDER_H

#include <windows.h>

namespace platform {
namespace mutex {

// Something built on one system object whose handle can be asked for. Kept
// in the interface: nothing in the product asks.
class HandleProvider {
public:
    virtual ~HandleProvider() = default;
    virtual HANDLE getHandle() = 0;
};

} // namespace mutex
} // namespace platform

#endif
