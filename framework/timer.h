// A periodic tick delivered to a callback. The system timer hangs on the
// owner's window, keyed by the element id; the element itself is a hidden
// static control so that the window procedure can find it by id.
#pragma once

#include "framework/form.h"

namespace Orditex {

// NOLINTNEXTLINE(cppcoreguidelines-special-member-functions): GUIElement deletes the copies
class Timer : public Child {
public:
    using TickCallback = void (*)(Timer* timer);

    explicit Timer(GUIElement* owner);
    ~Timer() override;  // stops a running timer first

    bool running = false;
    int32_t interval = 20;
    TickCallback onTick = nullptr;

    void Create() override;
    // Creates the element on first use and sets the system timer; no-op while running.
    void Start();
    // Kills the system timer; no-op while stopped.
    void Stop();
};

}  // namespace Orditex
