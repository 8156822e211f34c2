// Compiled at configure time with the project's Windows version definitions:
// the calls newer than Windows 7 must not compile, the others must. Each
// newer one is hidden behind a different version macro of the headers.
#include <windows.h>
#include <shellscalingapi.h>

int main() {
#if defined(PROBE_CREATE_FILE2)
    // Windows 8, kernel32; fileapi.h declares it from _WIN32_WINNT 0x0602.
    return CreateFile2(L"probe", GENERIC_READ, 0, OPEN_EXISTING, nullptr) != nullptr;
#elif defined(PROBE_DPI_FOR_WINDOW)
    // Windows 10, user32; winuser.h declares it from WINVER 0x0605.
    return static_cast<int>(GetDpiForWindow(nullptr));
#elif defined(PROBE_PROCESS_DPI_AWARENESS)
    // Windows 8.1, shcore; shellscalingapi.h declares it from NTDDI_VERSION
    // NTDDI_WINBLUE.
    return SetProcessDpiAwareness(PROCESS_SYSTEM_DPI_AWARE) == S_OK;
#else
    // Calls Windows 7 has (Vista's GetTickCount64, SetProcessDPIAware): the
    // same headers compile, so a failing probe above failed for its call.
    return SetProcessDPIAware() && GetTickCount64() != 0;
#endif
}
