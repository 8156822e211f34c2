// Helpers for tests with real windows: the module instance, pumping the
// queue, opening a form, bringing a window to the front and reading what a
// window shows.
#pragma once

#include <windows.h>

#include <functional>

namespace TestSupport {

inline HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}

// Dispatches every queued message for about the given time. The first form
// of the process is the main window, whose end posts the quit message: a
// test goes on past it.
inline void Pump(DWORD milliseconds) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (GetTickCount() - start >= milliseconds) return;
        Sleep(1);
    }
}

// Pumps until the condition holds or the time is up; returns the condition
// as it stands at the end (one last look after the time is up).
inline bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds = 3000) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= milliseconds) return condition();
        Pump(5);
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

// A pixel of the window's client area as it is shown now.
inline COLORREF WindowPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

}  // namespace TestSupport
