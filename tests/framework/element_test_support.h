// Shared by the element-layer tests: the module instance, a bounded message
// pump and a way to bring a window to the front.
#pragma once

#include <windows.h>

namespace elementtest {

inline HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}

// Dispatches everything waiting in the thread's queue. The quit message that
// the program's first form posts when it goes is dropped: a test process
// outlives any form.
inline void PumpPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Pumps the real queue for the given time.
inline void Pump(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        PumpPending();
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
    PumpPending();
}

// Pumps until the condition holds or the time is up; returns the condition.
template <typename Condition>
bool PumpUntil(Condition condition, DWORD milliseconds = 3000) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= milliseconds) return condition();
        PumpPending();
        Sleep(5);
    }
    return true;
}

// Creates a form's window and runs what its creation queued (activation,
// focus, first paint), as the program's message loop would.
template <typename FormType>
void Open(FormType& form) {
    form.Create();
    Pump(60);
}

inline bool BringToFront(HWND window) {
    SetForegroundWindow(window);
    return PumpUntil([window] { return GetForegroundWindow() == window; });
}

// The colour of the client pixel as the window shows it.
inline COLORREF ClientPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

}  // namespace elementtest
