#include "framework/joystick.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace Orditex;
using namespace TestSupport;

namespace {

FakeJoysticks& fake = FakeJoystick();

class JoystickTest : public ::testing::Test {
protected:
    void SetUp() override { UseFakeJoystick(); }
    void TearDown() override { StopFakeJoystick(); }

    // Opens the controller with the current fake set and polls one raw
    // position on all three axes.
    JoystickState PollRaw(UINT x, UINT y, UINT z) {
        JoystickState state;
        OpenJoystick(state);
        EXPECT_TRUE(state.ready);
        fake.raw.wXpos = x;
        fake.raw.wYpos = y;
        fake.raw.wZpos = z;
        EXPECT_TRUE(PollJoystick(state, state.deviceId));
        return state;
    }
};

}  // namespace

TEST_F(JoystickTest, FindJoystickPrefersControllerZeroAndReadsBoth) {
    fake.answers[0] = true;
    fake.answers[1] = true;
    EXPECT_EQ(FindJoystick(), 0);
    EXPECT_EQ(fake.positionReads[0], 1);
    EXPECT_EQ(fake.positionReads[1], 1);
}

TEST_F(JoystickTest, ControllerOneIsUsedWhenOnlyItAnswersAndTwoSlotsExist) {
    fake.answers[1] = true;
    EXPECT_EQ(FindJoystick(), 1);
    fake.slots = 1;
    EXPECT_EQ(FindJoystick(), -1);
}

TEST_F(JoystickTest, NoSlotsOrNoAnswerFindsNothing) {
    fake.slots = 0;
    fake.answers[0] = true;
    EXPECT_EQ(FindJoystick(), -1);
    EXPECT_EQ(fake.positionReads[0], 0);
    fake.slots = 2;
    fake.answers[0] = false;
    EXPECT_EQ(FindJoystick(), -1);
}

TEST_F(JoystickTest, OpenIsReadyOnlyWhenTheCapabilitiesAreRead) {
    JoystickState state;
    OpenJoystick(state);
    EXPECT_FALSE(state.ready);

    fake.answers[1] = true;
    OpenJoystick(state);
    EXPECT_TRUE(state.ready);
    EXPECT_EQ(state.deviceId, 1);
    EXPECT_EQ(fake.capsSize, 728u);
    EXPECT_EQ(state.caps.wXmax, 65535u);

    fake.capsAnswer = false;
    OpenJoystick(state);
    EXPECT_FALSE(state.ready);
}

TEST_F(JoystickTest, AxesScaleAroundTheCentreOfTheirRange) {
    fake.answers[0] = true;
    JoystickState centred = PollRaw(32767, 32768, 32767);
    EXPECT_EQ(centred.X(), 0);
    EXPECT_EQ(centred.Y(), 0);
    EXPECT_EQ(centred.Z(), 0);

    JoystickState ends = PollRaw(0, 65535, 0);
    EXPECT_EQ(ends.X(), -100);
    EXPECT_EQ(ends.Y(), 100);
    EXPECT_EQ(ends.Z(), -100);

    // Truncation toward zero: a quarter deflection reads -49 and +49 (not
    // -50 / +50 rounded), a deflection under 1/200 of the range reads 0.
    JoystickState quarter = PollRaw(16384, 49151, 32767 + 327);
    EXPECT_EQ(quarter.X(), -49);
    EXPECT_EQ(quarter.Y(), 49);
    EXPECT_EQ(quarter.Z(), 0);
    JoystickState small = PollRaw(32767 - 328, 32768 + 328, 0);
    EXPECT_EQ(small.X(), -1);
    EXPECT_EQ(small.Y(), 1);
}

TEST_F(JoystickTest, AZeroWidthAxisReadsZero) {
    fake.answers[0] = true;
    fake.minimum = 500;
    fake.maximum = 500;
    JoystickState state = PollRaw(0, 500, 65535);
    EXPECT_EQ(state.X(), 0);
    EXPECT_EQ(state.Y(), 0);
    EXPECT_EQ(state.Z(), 0);
}

TEST_F(JoystickTest, AFailedPollReturnsFalseWithAnAllZeroPosition) {
    fake.answers[0] = true;
    JoystickState state;
    OpenJoystick(state);
    ASSERT_TRUE(state.ready);
    state.position.wXpos = 7;
    fake.answers[0] = false;  // unplugged since the last tick
    EXPECT_FALSE(PollJoystick(state, 0));
    EXPECT_EQ(state.position.wXpos, 0u);
    EXPECT_EQ(state.position.wYpos, 0u);
    EXPECT_EQ(state.position.wZpos, 0u);
    EXPECT_EQ(state.position.wButtons, 0u);
}

TEST_F(JoystickTest, AfterTheResetTheSystemControllersAreReadAgain) {
    fake.answers[0] = true;
    ASSERT_EQ(FindJoystick(), 0);
    SetJoystickApi(nullptr);
    // What winmm itself says about controller 0 on this machine, not what was
    // played. Without a controller (as under test) that is no signal.
    JOYINFO raw{};
    bool systemAnswers = joyGetNumDevs() > 0 && joyGetPos(0, &raw) == JOYERR_NOERROR;
    JoystickState state;
    EXPECT_EQ(PollJoystick(state, 0), systemAnswers);
    EXPECT_EQ(FindJoystick() == 0, systemAnswers);
    EXPECT_EQ(fake.positionReads[0], 1);
}
