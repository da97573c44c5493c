#ifndef PLOVIX_APP_SYSTEMCLOCK_H
#define PLOVIX_APP_SYSTEMCLOCK_H

#include <ctime>

#include "app/Clock.h"

namespace app {

// The standard library's `time`.
class SystemClock : public Clock {
public:
    std::time_t now() const override;
};

} // namespace app

#endif
