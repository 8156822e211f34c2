#include "framework/timer.h"

namespace Orditex {

Timer::Timer(GUIElement* owner) : Child(owner) {
    width = 50;
    height = 22;
    text = L"timer";
    kind = "timer";
}

Timer::~Timer() {
    Stop();
}

void Timer::Create() {
    // A hidden static control: it only gives the timer an id and a place in
    // the window procedure's lookups.
    CreateControl(L"static", 0, 0, false);
}

void Timer::Start() {
    if (running) return;
    Create();
    // Without the owner's window the system would hand out a thread timer
    // under an id of its own, which Stop could never kill.
    HWND owner = parent ? parent->hwnd : nullptr;
    if (!owner) return;
    if (SetTimer(owner, static_cast<UINT_PTR>(id), static_cast<UINT>(interval), nullptr)) running = true;
}

void Timer::Stop() {
    if (!running) return;
    KillTimer(parent ? parent->hwnd : nullptr, static_cast<UINT_PTR>(id));
    running = false;
}

}  // namespace Orditex
