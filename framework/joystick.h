// A game controller read through the multimedia joystick interface, with its
// axes scaled to -100 .. +100 around the centre.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

namespace Orditex {

struct JoystickState {
    bool ready = false;
    int32_t deviceId = 0;
    JOYINFO position{};
    JOYCAPSW caps{};

    // The scaled axes as signed values (PollJoystick stores them in the
    // unsigned fields of the system record).
    int32_t X() const { return static_cast<int32_t>(position.wXpos); }
    int32_t Y() const { return static_cast<int32_t>(position.wYpos); }
    int32_t Z() const { return static_cast<int32_t>(position.wZpos); }
};

// 0 or 1 for the controller that answers, -1 when none does.
int32_t FindJoystick();
// FindJoystick, then the controller's capabilities: ready when both succeed.
void OpenJoystick(JoystickState& state);
// Reads and scales the controller's position; false when the read fails.
bool PollJoystick(JoystickState& state, int32_t controller);

// The three system calls, replaceable so tests can play a controller.
struct JoystickApi {
    UINT(WINAPI* getNumDevs)();
    MMRESULT(WINAPI* getPos)(UINT id, LPJOYINFO info);
    MMRESULT(WINAPI* getDevCaps)(UINT_PTR id, LPJOYCAPSW caps, UINT size);
};
void SetJoystickApi(const JoystickApi* api);  // nullptr restores winmm

}  // namespace Orditex
