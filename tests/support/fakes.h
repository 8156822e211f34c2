// Stand-ins behind the program's seams: a local clock set by hand, the error
// box, recorded instead of shown, a joystick the test moves by hand, and the
// timer-resolution requests, counted.
#pragma once

#include "framework/game_form.h"
#include "framework/joystick.h"
#include "framework/shell.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace TestSupport {

// A moment of the calendar, as the system's local clock gives it.
inline SYSTEMTIME Moment(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    SYSTEMTIME moment{};
    moment.wYear = static_cast<WORD>(year);
    moment.wMonth = static_cast<WORD>(month);
    moment.wDay = static_cast<WORD>(day);
    moment.wHour = static_cast<WORD>(hour);
    moment.wMinute = static_cast<WORD>(minute);
    moment.wSecond = static_cast<WORD>(second);
    moment.wMilliseconds = static_cast<WORD>(millisecond);
    return moment;
}

// What the program's local clock reads while the fake is in place: it moves
// only when the test moves it.
inline SYSTEMTIME& FakeNow() {
    static SYSTEMTIME now{};
    return now;
}
inline SYSTEMTIME ReadFakeClock() {
    return FakeNow();
}
inline void UseFakeClock(const SYSTEMTIME& now) {
    FakeNow() = now;
    Orditex::SetLocalClock(ReadFakeClock);
}
inline void AdvanceFakeClock(int64_t milliseconds) {
    FakeNow() = Orditex::TimeStamp(FakeNow()).PlusMilliseconds(milliseconds).Time();
}
inline void StopFakeClock() {
    Orditex::SetLocalClock(nullptr);
}

// The error boxes the program asked for while they are captured, in order.
// A box shown for real would also stop the test until someone closed it.
struct ErrorBox {
    std::string text;
    std::string caption;
};
inline std::vector<ErrorBox>& CapturedErrorBoxes() {
    static std::vector<ErrorBox> boxes;
    return boxes;
}
inline void RecordErrorBox(const std::string& text, const std::string& caption) {
    CapturedErrorBoxes().push_back(ErrorBox{text, caption});
}
// Captures from here on, starting from none.
inline void CaptureErrorBoxes() {
    CapturedErrorBoxes().clear();
    Orditex::SetErrorReporter(RecordErrorBox);
}
inline void StopCapturingErrorBoxes() {
    Orditex::SetErrorReporter(nullptr);
}

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
inline FakeJoysticks& FakeJoystick() {
    static FakeJoysticks joysticks;
    return joysticks;
}
inline UINT WINAPI FakeNumDevs() {
    return FakeJoystick().slots;
}
inline MMRESULT WINAPI FakeGetPos(UINT id, LPJOYINFO info) {
    FakeJoysticks& fake = FakeJoystick();
    if (id > 1) return JOYERR_PARMS;
    ++fake.positionReads[id];
    if (!fake.answers[id]) {
        info->wXpos = 12345;  // junk a failing driver may leave behind
        return JOYERR_UNPLUGGED;
    }
    *info = fake.raw;
    return JOYERR_NOERROR;
}
inline MMRESULT WINAPI FakeGetDevCaps(UINT_PTR id, LPJOYCAPSW caps, UINT size) {
    FakeJoysticks& fake = FakeJoystick();
    fake.capsSize = size;
    if (id > 1 || !fake.answers[id] || !fake.capsAnswer) return JOYERR_PARMS;
    *caps = JOYCAPSW{};
    caps->wXmin = caps->wYmin = caps->wZmin = fake.minimum;
    caps->wXmax = caps->wYmax = caps->wZmax = fake.maximum;
    return JOYERR_NOERROR;
}
// Puts the fake, with no controller answering, in place of the system's
// joystick calls.
inline void UseFakeJoystick() {
    static const Orditex::JoystickApi api{FakeNumDevs, FakeGetPos, FakeGetDevCaps};
    FakeJoystick() = FakeJoysticks{};
    Orditex::SetJoystickApi(&api);
}
inline void StopFakeJoystick() {
    Orditex::SetJoystickApi(nullptr);
}

// Counts a game form's requests for a finer timer resolution in place of the
// system, for as long as it lives, and fails the running test as soon as they
// stop pairing up: a second request before the first is given back, a give-back
// with none held, a period other than 1 ms, or a request still held at the end.
class ResolutionCounter {
public:
    ResolutionCounter() {
        current = this;
        Orditex::SetTimerResolutionApi(&counting);
    }
    ~ResolutionCounter() {
        EXPECT_EQ(begins, ends) << "the timer resolution is still held";
        Orditex::SetTimerResolutionApi(nullptr);
        current = nullptr;
    }
    ResolutionCounter(const ResolutionCounter&) = delete;
    ResolutionCounter& operator=(const ResolutionCounter&) = delete;

    int begins = 0;
    int ends = 0;

private:
    static MMRESULT WINAPI Begin(UINT period) {
        EXPECT_EQ(period, 1u);
        ++current->begins;
        EXPECT_LE(current->begins - current->ends, 1) << "asked again before it was given back";
        return TIMERR_NOERROR;
    }
    static MMRESULT WINAPI End(UINT period) {
        EXPECT_EQ(period, 1u);
        ++current->ends;
        EXPECT_GE(current->begins - current->ends, 0) << "given back without being asked";
        return TIMERR_NOERROR;
    }

    static inline ResolutionCounter* current = nullptr;
    static constexpr Orditex::TimerResolutionApi counting{Begin, End};
};

}  // namespace TestSupport
