#include "support/window_support.h"

namespace TestSupport {

std::optional<WPARAM> PumpQueued(Ticks ticks) {
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

std::optional<WPARAM> Pump(DWORD milliseconds, Ticks ticks) {
    std::optional<WPARAM> quit;
    DWORD start = GetTickCount();
    for (;;) {
        if (std::optional<WPARAM> code = PumpQueued(ticks)) quit = code;
        if (GetTickCount() - start >= milliseconds) return quit;
        Sleep(1);
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds, Ticks ticks) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= milliseconds) return condition();
        Pump(5, ticks);
    }
    return true;
}

bool Settled(HWND window) {
    PumpQueued();
    return GetQueueStatus(QS_ALLINPUT) == 0 && !GetUpdateRect(window, nullptr, FALSE);
}

std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

}  // namespace TestSupport
