// Helpers for tests with real windows: the module instance, pumping the
// queue, opening a form, bringing a window to the front and reading what a
// window shows.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace TestSupport {

inline HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}

// Whether the pump hands timer ticks on. Tests that drive the clock
// themselves drop the real timer's ticks.
enum class Ticks { Dispatch, Drop };

// Dispatches every message queued now. The quit message is never dispatched:
// the first form of the process is the main window, whose end posts it, and a
// test goes on past it. Returns its exit code when one came.
inline std::optional<WPARAM> PumpQueued(Ticks ticks = Ticks::Dispatch) {
    std::optional<WPARAM> quit;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = message.wParam;
            continue;
        }
        if (message.message == WM_TIMER && ticks == Ticks::Drop) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return quit;
}

// Dispatches every queued message for about the given time; returns the exit
// code of the last quit message that came meanwhile, if any.
inline std::optional<WPARAM> Pump(DWORD milliseconds, Ticks ticks = Ticks::Dispatch) {
    std::optional<WPARAM> quit;
    DWORD start = GetTickCount();
    for (;;) {
        if (std::optional<WPARAM> code = PumpQueued(ticks)) quit = code;
        if (GetTickCount() - start >= milliseconds) return quit;
        Sleep(1);
    }
}

// Pumps until the condition holds or the time is up; returns the condition
// as it stands at the end (one last look after the time is up).
inline bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds = 3000,
                      Ticks ticks = Ticks::Dispatch) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= milliseconds) return condition();
        Pump(5, ticks);
    }
    return true;
}

// Runs what is queued; true when the queue is empty and the window has
// nothing left to paint.
inline bool Settled(HWND window) {
    PumpQueued();
    return GetQueueStatus(QS_ALLINPUT) == 0 && !GetUpdateRect(window, nullptr, FALSE);
}

// Creates a form's window and runs what its creation queued (activation,
// focus, first paint), as the program's message loop would. The window
// manager answers a new window later (it may still move the focus), and
// nothing in the program shows when it has: the time is fixed.
template <typename FormType>
void Open(FormType& form) {
    form.Create();
    Pump(60);
}

inline bool BringToFront(HWND window) {
    SetForegroundWindow(window);
    return PumpUntil([window] { return GetForegroundWindow() == window; });
}

// A window's style bits and extended style bits.
inline DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
}
inline DWORD ExStyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
}

// Characters typed into a window, one character message each.
inline void TypeInto(HWND window, const std::string& characters) {
    for (char c : characters) SendMessageW(window, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 0);
}

// A window's text, and the name of its class.
inline std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}
inline std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

// A pixel of the window's client area as it is shown now.
inline COLORREF WindowPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

}  // namespace TestSupport
