#include "app/InputExitPolicy.h"

#include <gtest/gtest.h>

#include "app/Clock.h"

namespace {

// Window message numbers; the rule itself needs no window system.
enum : unsigned int {
    ACTIVATE = 0x0006,
    ACTIVATEAPP = 0x001C,
    NCACTIVATE = 0x0086,
    KEYDOWN = 0x0100,
    KEYUP = 0x0101,
    SYSKEYDOWN = 0x0104,
    TIMER = 0x0113,
    MOUSEMOVE = 0x0200,
    LBUTTONDOWN = 0x0201,
    LBUTTONUP = 0x0202,
    RBUTTONDOWN = 0x0204,
    MBUTTONDOWN = 0x0207,
    MOUSEWHEEL = 0x020A,
    XBUTTONDOWN = 0x020B,
};

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
    for (const unsigned int other :
         {KEYUP, SYSKEYDOWN, LBUTTONUP, MOUSEWHEEL, XBUTTONDOWN, TIMER}) {
        EXPECT_FALSE(policy.shouldExit(other, 0)) << other;
    }
    for (const unsigned int activation : {ACTIVATE, ACTIVATEAPP, NCACTIVATE}) {
        EXPECT_TRUE(policy.shouldExit(activation, 0xABCD0000u)) << activation; // losing it
        EXPECT_FALSE(policy.shouldExit(activation, 0x00010002u)) << activation;
    }
}

TEST_F(InputExitPolicyTest, MouseMovesEndTheRunFromThe51stOnceTwoSecondsHavePassed) {
    clock.seconds += 2; // not more than two seconds yet: moves count but do not end it
    EXPECT_FALSE(move(80));
    clock.seconds += 1;
    EXPECT_TRUE(move(1));
    EXPECT_TRUE(move(1));
}

TEST_F(InputExitPolicyTest, ResetRestartsTheCountAndTheClock) {
    move(60);
    clock.seconds += 10;
    policy.reset();
    clock.seconds += 3;
    EXPECT_FALSE(move(50));
    EXPECT_TRUE(move(1));
    policy.reset();
    clock.seconds += 2;
    EXPECT_FALSE(move(51));
}

} // namespace
