#include "support/fakes.h"

#include "framework/shell.h"

namespace TestSupport {

namespace {

SYSTEMTIME fakeNow{};

SYSTEMTIME ReadFakeClock() {
    return fakeNow;
}

std::vector<ErrorBox> errorBoxes;

void RecordErrorBox(const std::string& text, const std::string& caption) {
    errorBoxes.push_back(ErrorBox{text, caption});
}

FakeJoysticks joysticks;

UINT WINAPI FakeNumDevs() {
    return joysticks.slots;
}

MMRESULT WINAPI FakeGetPos(UINT id, LPJOYINFO info) {
    if (id > 1) return JOYERR_PARMS;
    ++joysticks.positionReads[id];
    if (!joysticks.answers[id]) {
        info->wXpos = 12345;  // junk a failing driver may leave behind
        return JOYERR_UNPLUGGED;
    }
    *info = joysticks.raw;
    return JOYERR_NOERROR;
}

MMRESULT WINAPI FakeGetDevCaps(UINT_PTR id, LPJOYCAPSW caps, UINT size) {
    joysticks.capsSize = size;
    if (id > 1 || !joysticks.answers[id] || !joysticks.capsAnswer) return JOYERR_PARMS;
    *caps = JOYCAPSW{};
    caps->wXmin = caps->wYmin = caps->wZmin = joysticks.minimum;
    caps->wXmax = caps->wYmax = caps->wZmax = joysticks.maximum;
    return JOYERR_NOERROR;
}

const Orditex::JoystickApi fakeJoystickApi{FakeNumDevs, FakeGetPos, FakeGetDevCaps};

}  // namespace

SYSTEMTIME Moment(int year, int month, int day, int hour, int minute, int second, int millisecond) {
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

void UseFakeClock(const SYSTEMTIME& now) {
    fakeNow = now;
    Orditex::SetLocalClock(ReadFakeClock);
}

void StopFakeClock() {
    Orditex::SetLocalClock(nullptr);
}

SYSTEMTIME& FakeNow() {
    return fakeNow;
}

void AdvanceFakeClock(int64_t milliseconds) {
    fakeNow = Orditex::TimeStamp(fakeNow).PlusMilliseconds(milliseconds).Time();
}

void CaptureErrorBoxes() {
    errorBoxes.clear();
    Orditex::SetErrorReporter(RecordErrorBox);
}

void StopCapturingErrorBoxes() {
    Orditex::SetErrorReporter(nullptr);
}

std::vector<ErrorBox>& CapturedErrorBoxes() {
    return errorBoxes;
}

void UseFakeJoystick() {
    joysticks = FakeJoysticks{};
    Orditex::SetJoystickApi(&fakeJoystickApi);
}

void StopFakeJoystick() {
    Orditex::SetJoystickApi(nullptr);
}

FakeJoysticks& FakeJoystick() {
    return joysticks;
}

}  // namespace TestSupport
