// The one window procedure of the framework: every form's window class names
// it and every control the framework creates is subclassed to it.
#pragma once

#include <windows.h>

namespace Orditex {

LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// True while a hover/leave tracking request is pending (one flag per process).
bool IsMouseTracking();

}  // namespace Orditex
