#ifndef PLOVIX_APP_CLOCK_H
#define PLOVIX_APP_CLOCK_H

#include <ctime>

namespace app {

// The calendar clock in whole seconds, behind an interface so that rules
// that wait for seconds to pass can be tested without waiting.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::time_t now() const = 0;
};

} // namespace app

#endif
