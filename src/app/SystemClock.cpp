#include "app/SystemClock.h"

namespace app {

std::time_t SystemClock::now() const {
    return std::time(nullptr);
}

} // namespace app
