#ifndef PLOVIX_APP_EXITPOLICY_H
#define PLOVIX_APP_EXITPOLICY_H

#include <cstdint>

namespace app {

// Decides, one window message at a time, whether the user's input ends a
// full-screen run.
class ExitPolicy {
public:
    virtual ~ExitPolicy() = default;
    virtual bool shouldExit(unsigned int message, std::uintptr_t wParam) = 0;
    // Starts the counting over; called once as a run begins.
    virtual void reset() = 0;
};

} // namespace app

#endif
