#include "support/fakes.h"

#include "framework/shell.h"

namespace TestSupport {

namespace {

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
