// The one window procedure of the framework: every form's window class names
// it and every control the framework creates is subclassed to it.
#pragma once

#include <windows.h>

namespace Orditex {

LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Subclasses a native control to FrameworkWindowProc and returns its previous
// procedure (none on failure). The previous procedure is also kept on the
// control itself, so that the control keeps working normally even when its
// element is deleted before its window goes away.
WNDPROC SubclassToFramework(HWND control);

// True while a hover/leave tracking request is pending (one flag per process).
bool IsMouseTracking();

}  // namespace Orditex
