#include "app/InputExitPolicy.h"

#include <gtest/gtest.h>

#include "app/Clock.h"

namespace {

using app::InputExitPolicy;

const unsigned int ACTIVATE = 0x0006;
const unsigned int ACTIVATEAPP = 0x001C;
const unsigned int NCACTIVATE = 0x0086;
const unsigned int KEYDOWN = 0x0100;
const unsigned int KEYUP = 0x0101;
const unsigned int SYSKEYDOWN = 0x0104;
const unsigned int MOUSEMOVE = 0x0200;
const unsigned int LBUTTONDOWN = 0x0201;
const unsigned int LBUTTONUP = 0x0202;
const unsigned int RBUTTONDOWN = 0x0204;
const unsigned int MBUTTONDOWN = 0x0207;
const unsigned int MOUSEWHEEL = 0x020A;
const unsigned int XBUTTONDOWN = 0x020B;
const unsigned int TIMER = 0x0113;

class FakeClock : public app::Clock {
public:
    std::time_t now() const override { return seconds; }
    std::time_t seconds = 1000;
};

class InputExitPolicyTest : public ::testing::Test {
protected:
    InputExitPolicyTest()
        : policy(clock) {
        policy.reset();
    }

    // Sends `count` mouse moves; true if any of them ended the run.
    bool move(int count) {
        bool ended = false;
        for (int i = 0; i < count; ++i) {
            ended = policy.shouldExit(MOUSEMOVE, 0) || ended;
        }
        return ended;
    }

    FakeClock clock;
    InputExitPolicy policy;
};

TEST_F(InputExitPolicyTest, PressesEndTheRunReleasesAndOtherInputDoNot) {
    for (const unsigned int press : {KEYDOWN, LBUTTONDOWN, RBUTTONDOWN, MBUTTONDOWN}) {
        EXPECT_TRUE(policy.shouldExit(press, 0)) << press;
    }
    for (const unsigned int other :
         {KEYUP, SYSKEYDOWN, LBUTTONUP, MOUSEWHEEL, XBUTTONDOWN, TIMER}) {
        EXPECT_FALSE(policy.shouldExit(other, 0)) << other;
    }
}

TEST_F(InputExitPolicyTest, OnlyLosingActivationEndsTheRun) {
    for (const unsigned int activation : {ACTIVATE, ACTIVATEAPP, NCACTIVATE}) {
        EXPECT_TRUE(policy.shouldExit(activation, 0)) << activation;
        EXPECT_TRUE(policy.shouldExit(activation, 0xABCD0000u)) << activation;
        EXPECT_FALSE(policy.shouldExit(activation, 1)) << activation;
        EXPECT_FALSE(policy.shouldExit(activation, 0x00010002u)) << activation;
    }
}

TEST_F(InputExitPolicyTest, MouseMovesEndTheRunFromThe51stAfterTwoSeconds) {
    EXPECT_FALSE(move(50));
    clock.seconds += 3;
    EXPECT_TRUE(move(1));
    EXPECT_TRUE(move(1)); // later moves are tested again
}

TEST_F(InputExitPolicyTest, MovesDuringTheFirstTwoSecondsCountButDoNotEndTheRun) {
    clock.seconds += 2; // not more than two seconds yet
    EXPECT_FALSE(move(80));
    clock.seconds += 1;
    EXPECT_TRUE(move(1));
}

TEST_F(InputExitPolicyTest, ResetRestartsTheCountAndTheClock) {
    move(60);
    clock.seconds += 10;
    policy.reset();
    EXPECT_FALSE(move(50));
    clock.seconds += 2;
    EXPECT_FALSE(move(1));
    clock.seconds += 1;
    EXPECT_TRUE(move(1));
}

} // namespace
