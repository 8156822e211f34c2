// Stand-ins behind the program's seams: a local clock set by hand, the error
// box, recorded instead of shown, and a joystick the test moves by hand.
#pragma once

#include "framework/joystick.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace TestSupport {

// A moment of the calendar, as the system's local clock gives it.
SYSTEMTIME Moment(int year, int month, int day, int hour, int minute, int second, int millisecond);

// From here on the program's local clock reads FakeNow, which starts at the
// given moment and moves only when the test moves it.
void UseFakeClock(const SYSTEMTIME& now);
// The system's clock again.
void StopFakeClock();
SYSTEMTIME& FakeNow();
void AdvanceFakeClock(int64_t milliseconds);

struct ErrorBox {
    std::string text;
    std::string caption;
};

// From here on the error boxes the program asks for are recorded, starting
// from none, instead of shown: a box would also stop the test until someone
// closed it.
void CaptureErrorBoxes();
// The real box again.
void StopCapturingErrorBoxes();
// What was recorded since CaptureErrorBoxes, in order.
std::vector<ErrorBox>& CapturedErrorBoxes();

// The controllers the fake joystick plays: how many slots the system
// reports, which controllers answer, their raw position and axis range, and
// what was asked of them.
struct FakeJoysticks {
    UINT slots = 2;
    bool answers[2] = {false, false};
    bool capsAnswer = true;
    JOYINFO raw{32767, 32767, 32767, 0};
    UINT minimum = 0;
    UINT maximum = 65535;
    int positionReads[2] = {0, 0};
    UINT capsSize = 0;
};

// Puts the fake in place of the system's joystick calls, as it is by default
// (no controller answers).
void UseFakeJoystick();
// The system's calls again.
void StopFakeJoystick();
FakeJoysticks& FakeJoystick();

}  // namespace TestSupport
