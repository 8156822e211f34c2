// window_probe COMMAND CAPTION [SECONDS]
// CAPTION matches a visible top-level window's title exactly, or as a prefix
// when it ends with '*'. Commands:
//   count   number of matching windows
//   texts   the texts of the first match's child windows, one per line
//   close   posts WM_CLOSE to the first match
//   wait    waits up to SECONDS (default 20) for a match; exit code 1 on timeout
//   client  the first match's client area on screen: x y width height
//   cover   covers the first match with a window of this program's own for
//           SECONDS (default 1), then takes it away
// window_probe manifest EXE
//   prints the application manifest of EXE (resource 1 of type 24) after
//   checking that Windows builds an activation context from it; exit code 1
//   when it is missing or refused
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring wanted;
bool prefix = false;

BOOL CALLBACK Collect(HWND window, LPARAM data) {
    if (!IsWindowVisible(window)) return TRUE;
    wchar_t title[512] = {};
    GetWindowTextW(window, title, 512);
    std::wstring caption = title;
    bool match = prefix ? caption.compare(0, wanted.size(), wanted) == 0 : caption == wanted;
    if (match) reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

std::vector<HWND> Matches() {
    std::vector<HWND> found;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&found));
    return found;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    // WM_GETTEXT, not GetWindowText: for a control of another process the
    // latter answers only the text it was created with.
    wchar_t text[2048] = {};
    DWORD_PTR unused = 0;
    SendMessageTimeoutW(child, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &unused);
    char narrow[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    std::printf("%s\n", narrow);
    return TRUE;
}

// The manifest as the loader reads it, and whether the system accepts it: a
// manifest it refuses keeps the program from starting at all.
int PrintManifest(const wchar_t* exe) {
    HMODULE module = LoadLibraryExW(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) {
        std::fprintf(stderr, "cannot open the exe\n");
        return 1;
    }
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    const char* data = found ? static_cast<const char*>(LockResource(LoadResource(module, found))) : nullptr;
    if (!data) {
        std::fprintf(stderr, "no manifest resource\n");
        FreeLibrary(module);
        return 1;
    }
    std::fwrite(data, 1, SizeofResource(module, found), stdout);
    FreeLibrary(module);

    ACTCTXW context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = exe;
    context.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE handle = CreateActCtxW(&context);
    if (handle == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "the system refuses the manifest (error %lu)\n", GetLastError());
        return 1;
    }
    ReleaseActCtx(handle);
    return 0;
}

}  // namespace

int main() {
    // Wide arguments straight from the command line, so that captions with
    // characters outside the code page (the copyright sign) match.
    int argc = 0;
    wchar_t** wideArgs = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) {
        char narrow[1024] = {};
        WideCharToMultiByte(CP_UTF8, 0, wideArgs[i], -1, narrow, sizeof narrow, nullptr, nullptr);
        args.push_back(narrow);
    }
    std::vector<const char*> pointers;
    for (const std::string& a : args) pointers.push_back(a.c_str());
    const char* const* argv = pointers.data();
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: window_probe count|texts|close|wait|client|cover CAPTION [SECONDS]\n"
                     "       window_probe manifest EXE\n");
        return 2;
    }
    std::string command = argv[1];
    if (command == "manifest") return PrintManifest(wideArgs[2]);
    std::string caption = argv[2];
    if (!caption.empty() && caption.back() == '*') {
        prefix = true;
        caption.pop_back();
    }
    wchar_t wide[512] = {};
    MultiByteToWideChar(CP_UTF8, 0, caption.c_str(), -1, wide, 512);
    wanted = wide;

    if (command == "count") {
        std::printf("%d\n", static_cast<int>(Matches().size()));
        return 0;
    }
    if (command == "wait") {
        int seconds = argc > 3 ? std::atoi(argv[3]) : 20;
        for (int i = 0; i < seconds * 10; ++i) {
            if (!Matches().empty()) return 0;
            Sleep(100);
        }
        return 1;
    }
    std::vector<HWND> found = Matches();
    if (found.empty()) {
        std::fprintf(stderr, "no window captioned \"%s\"\n", argv[2]);
        return 1;
    }
    HWND window = found.front();
    if (command == "texts") {
        EnumChildWindows(window, PrintChild, 0);
    } else if (command == "close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
    } else if (command == "client") {
        RECT client;
        GetClientRect(window, &client);
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    } else if (command == "cover") {
        RECT r;
        GetWindowRect(window, &r);
        WNDCLASSW coverClass{};
        coverClass.lpfnWndProc = DefWindowProcW;
        coverClass.hInstance = GetModuleHandleW(nullptr);
        coverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        coverClass.lpszClassName = L"WindowProbeCover";
        RegisterClassW(&coverClass);
        HWND cover =
            CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"WindowProbeCover", L"", WS_POPUP | WS_VISIBLE, r.left,
                            r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr, coverClass.hInstance, nullptr);
        DWORD until = GetTickCount() + static_cast<DWORD>(1000 * (argc > 3 ? std::atof(argv[3]) : 1.0));
        while (static_cast<LONG>(until - GetTickCount()) > 0) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            Sleep(10);
        }
        DestroyWindow(cover);
    } else {
        std::fprintf(stderr, "unknown command %s\n", command.c_str());
        return 2;
    }
    return 0;
}
