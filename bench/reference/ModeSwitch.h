#ifndef PLOVIX_BENCH_REFERENCE_MODESWITCH_H
#define PLOVIX_BENCH_REFERENCE_MODESWITCH_H

#include <windows.h>

namespace bench {
namespace reference {

// The switch to 800x600 with the saver's call; the user's mode comes back
// when it ends, as the saver puts it back.
class ModeSwitch {
public:
    ModeSwitch() = default;
    ~ModeSwitch();
    ModeSwitch(const ModeSwitch&) = delete;
    ModeSwitch& operator=(const ModeSwitch&) = delete;

    // ChangeDisplaySettingsA's result.
    LONG to800x600();

private:
    bool _switched = false;
};

} // namespace reference
} // namespace bench

#endif
