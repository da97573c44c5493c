#ifndef PLOVIX_APP_INPUTEXITPOLICY_H
#define PLOVIX_APP_INPUTEXITPOLICY_H

#include <cstdint>
#include <ctime>

#include "app/Clock.h"
#include "app/ExitPolicy.h"
#include "app/SystemClock.h"

namespace app {

// The screen saver's exit rule: a key or button press or the loss of
// activation ends the run at once; mouse movement only from the 51st move on
// and only once more than two seconds have passed, because a mouse on a desk
// reports small moves by itself.
class InputExitPolicy : public ExitPolicy {
public:
    InputExitPolicy();
    // `clock` is not owned and must outlive the policy.
    explicit InputExitPolicy(const Clock& clock);

    InputExitPolicy(const InputExitPolicy&) = delete;
    InputExitPolicy& operator=(const InputExitPolicy&) = delete;

    bool shouldExit(unsigned int message, std::uintptr_t wParam) override;
    void reset() override;

private:
    SystemClock _systemClock;
    const Clock& _clock;
    std::uint32_t _mouseMoves;
    std::time_t _startTime;
};

} // namespace app

#endif
