// Helpers for tests with real windows: pumping the queue and reading what a
// window shows.
#pragma once

#include <windows.h>

#include <functional>

namespace TestSupport {

// Dispatches every queued message for about the given time. The first form
// of the process is the main window, whose end posts the quit message: a
// test goes on past it.
inline void Pump(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(1);
    } while (GetTickCount() - start < milliseconds);
}

// Pumps until the condition holds or the time is up; true when it held.
inline bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds = 3000) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= milliseconds) return false;
        Pump(5);
    }
    return true;
}

// A pixel of the window's client area as it is shown now.
inline COLORREF WindowPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

}  // namespace TestSupport
