#include "app/InputExitPolicy.h"

#include <gtest/gtest.h>

#include <ctime>
#include <initializer_list>
#include <string>

#include "app/Clock.h"

namespace {

// Window message numbers; the rule itself needs no window system.
constexpr unsigned int ACTIVATE = 0x06, ACTIVATEAPP = 0x1C, NCACTIVATE = 0x86, TIMER = 0x113;
constexpr unsigned int KEYDOWN = 0x100, KEYUP = 0x101, SYSKEYDOWN = 0x104;
constexpr unsigned int MOUSEMOVE = 0x200, LBUTTONDOWN = 0x201, LBUTTONUP = 0x202;
constexpr unsigned int RBUTTONDOWN = 0x204, MBUTTONDOWN = 0x207, WHEEL = 0x20A, XBUTTON = 0x20B;

class FakeClock : public app::Clock {
public:
    std::time_t now() const override { return seconds; }
    std::time_t seconds = 1000;
};

class InputExitPolicyTest : public ::testing::Test {
protected:
    InputExitPolicyTest() { policy.reset(); }

    // Whether any of `count` mouse moves ends the run.
    bool move(int count) {
        bool ended = false;
        for (int i = 0; i < count; ++i) {
            ended = policy.shouldExit(MOUSEMOVE, 0) || ended;
        }
        return ended;
    }

    FakeClock clock;
    app::InputExitPolicy policy{clock};
};

TEST_F(InputExitPolicyTest, PressesAndLostActivationEndTheRunOtherInputDoesNot) {
    for (const unsigned int press : {KEYDOWN, LBUTTONDOWN, RBUTTONDOWN, MBUTTONDOWN}) {
        EXPECT_TRUE(policy.shouldExit(press, 0)) << press;
    }
    for (const unsigned int other : {KEYUP, SYSKEYDOWN, LBUTTONUP, WHEEL, XBUTTON, TIMER}) {
        EXPECT_FALSE(policy.shouldExit(other, 0)) << other;
    }
    for (const unsigned int activation : {ACTIVATE, ACTIVATEAPP, NCACTIVATE}) {
        EXPECT_TRUE(policy.shouldExit(activation, 0xABCD0000u)) << activation; // losing it
        EXPECT_FALSE(policy.shouldExit(activation, 0x00010002u)) << activation;
    }
}

// Each run starts the count and the clock anew.
TEST_F(InputExitPolicyTest, MouseMovesEndTheRunFromThe51stOnceTwoSecondsHavePassed) {
    clock.seconds += 2; // not more than two seconds yet: moves count but do not end it
    EXPECT_FALSE(move(80));
    policy.reset();
    clock.seconds += 3;
    EXPECT_FALSE(move(50));
    EXPECT_TRUE(move(1));
    EXPECT_TRUE(move(1));
    policy.reset();
    clock.seconds += 2;
    EXPECT_FALSE(move(51));
}

} // namespace
