#include "framework/joystick.h"

#include <cstdint>
#include <limits>

namespace Orditex {

static_assert(sizeof(JOYCAPSW) == 728, "the capability record the joystick interface expects");

namespace {

const JoystickApi winmmApi{joyGetNumDevs, joyGetPos, joyGetDevCapsW};
const JoystickApi* api = &winmmApi;

// One axis mapped to -100 .. +100 around the centre of its range, truncated
// toward zero. A range of zero width has no centre to measure from: it reads
// as centred instead of dividing by zero.
UINT ScaleAxis(UINT raw, UINT minimum, UINT maximum) {
    if (minimum == maximum) return 0;
    double value = (static_cast<double>(raw) - (static_cast<double>(minimum) + static_cast<double>(maximum)) * 0.5) *
                   200.0 / (static_cast<double>(maximum) - static_cast<double>(minimum));
    // A raw value far outside a narrow range could exceed what an int32
    // holds; keep the conversion defined.
    constexpr double lowest = std::numeric_limits<int32_t>::min();
    constexpr double highest = std::numeric_limits<int32_t>::max();
    if (value < lowest) value = lowest;
    if (value > highest) value = highest;
    return static_cast<UINT>(static_cast<int32_t>(value));
}

}  // namespace

void SetJoystickApi(const JoystickApi* replacement) {
    api = replacement ? replacement : &winmmApi;
}

int32_t FindJoystick() {
    UINT slots = api->getNumDevs();
    if (slots == 0) return -1;
    JOYINFO first{};
    JOYINFO second{};
    MMRESULT firstResult = api->getPos(0, &first);
    MMRESULT secondResult = api->getPos(1, &second);
    if (firstResult == JOYERR_NOERROR) return 0;
    if (slots > 1 && secondResult == JOYERR_NOERROR) return 1;
    return -1;
}

void OpenJoystick(JoystickState& state) {
    state.ready = false;
    int32_t found = FindJoystick();
    if (found == -1) return;
    state.deviceId = found;
    state.ready = api->getDevCaps(static_cast<UINT_PTR>(found), &state.caps, sizeof state.caps) == JOYERR_NOERROR;
}

bool PollJoystick(JoystickState& state, int32_t controller) {
    state.position = JOYINFO{};
    if (api->getPos(static_cast<UINT>(controller), &state.position) != JOYERR_NOERROR) {
        state.position = JOYINFO{};  // a failed read leaves nothing half-written
        return false;
    }
    state.position.wXpos = ScaleAxis(state.position.wXpos, state.caps.wXmin, state.caps.wXmax);
    state.position.wYpos = ScaleAxis(state.position.wYpos, state.caps.wYmin, state.caps.wYmax);
    state.position.wZpos = ScaleAxis(state.position.wZpos, state.caps.wZmin, state.caps.wZmax);
    return true;
}

}  // namespace Orditex
