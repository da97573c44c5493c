#include "app/InputExitPolicy.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace app {

namespace {

// Window message numbers, kept here so the rule needs no window system.
const unsigned int MSG_ACTIVATE = 0x0006;
const unsigned int MSG_ACTIVATEAPP = 0x001C;
const unsigned int MSG_NCACTIVATE = 0x0086;
const unsigned int MSG_KEYDOWN = 0x0100;
const unsigned int MSG_MOUSEMOVE = 0x0200;
const unsigned int MSG_LBUTTONDOWN = 0x0201;
const unsigned int MSG_RBUTTONDOWN = 0x0204;
const unsigned int MSG_MBUTTONDOWN = 0x0207;

#ifdef _WIN32
// Where the system's own numbers are at hand, a number written wrong above
// stops the build.
static_assert(MSG_ACTIVATE == WM_ACTIVATE, "MSG_ACTIVATE is WM_ACTIVATE");
static_assert(MSG_ACTIVATEAPP == WM_ACTIVATEAPP, "MSG_ACTIVATEAPP is WM_ACTIVATEAPP");
static_assert(MSG_NCACTIVATE == WM_NCACTIVATE, "MSG_NCACTIVATE is WM_NCACTIVATE");
static_assert(MSG_KEYDOWN == WM_KEYDOWN, "MSG_KEYDOWN is WM_KEYDOWN");
static_assert(MSG_MOUSEMOVE == WM_MOUSEMOVE, "MSG_MOUSEMOVE is WM_MOUSEMOVE");
static_assert(MSG_LBUTTONDOWN == WM_LBUTTONDOWN, "MSG_LBUTTONDOWN is WM_LBUTTONDOWN");
static_assert(MSG_RBUTTONDOWN == WM_RBUTTONDOWN, "MSG_RBUTTONDOWN is WM_RBUTTONDOWN");
static_assert(MSG_MBUTTONDOWN == WM_MBUTTONDOWN, "MSG_MBUTTONDOWN is WM_MBUTTONDOWN");
#endif

const std::uint32_t TOLERATED_MOUSE_MOVES = 50;
const std::time_t GRACE_SECONDS = 2;

} // namespace

InputExitPolicy::InputExitPolicy()
    : _clock(_systemClock)
    , _mouseMoves(0)
    , _startTime(0) {}

InputExitPolicy::InputExitPolicy(const Clock& clock)
    : _clock(clock)
    , _mouseMoves(0)
    , _startTime(0) {}

bool InputExitPolicy::shouldExit(unsigned int message, std::uintptr_t wParam) {
    switch (message) {
    case MSG_ACTIVATE:
    case MSG_ACTIVATEAPP:
    case MSG_NCACTIVATE:
        return (wParam & 0xFFFFu) == 0;
    case MSG_MOUSEMOVE:
        ++_mouseMoves;
        return _mouseMoves > TOLERATED_MOUSE_MOVES && _clock.now() > _startTime + GRACE_SECONDS;
    case MSG_KEYDOWN:
    case MSG_LBUTTONDOWN:
    case MSG_RBUTTONDOWN:
    case MSG_MBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

void InputExitPolicy::reset() {
    _mouseMoves = 0;
    _startTime = _clock.now();
}

} // namespace app
