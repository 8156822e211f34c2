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
std::optional<WPARAM> PumpQueued(Ticks ticks = Ticks::Dispatch);

// Dispatches every queued message for about the given time; returns the exit
// code of the last quit message that came meanwhile, if any.
std::optional<WPARAM> Pump(DWORD milliseconds, Ticks ticks = Ticks::Dispatch);

// Pumps until the condition holds or the time is up; returns the condition
// as it stands at the end (one last look after the time is up).
bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds = 3000, Ticks ticks = Ticks::Dispatch);

// Runs what is queued; true when the queue is empty and the window has
// nothing left to paint.
bool Settled(HWND window);

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

// A window's text, and the name of its class.
std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);

// A pixel of the window's client area as it is shown now.
inline COLORREF WindowPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

}  // namespace TestSupport
