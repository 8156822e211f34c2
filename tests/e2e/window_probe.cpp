// window_probe COMMAND CAPTION [ARGUMENTS]
// CAPTION matches a visible top-level window's title exactly, or as a prefix
// when it ends with '*'. Commands:
//   count   number of matching windows
//   texts   the texts of the first match's child windows, one per line
//   close   posts WM_CLOSE to the first match
//   wait SECONDS [N|iconic]
//           waits up to SECONDS for a match, for exactly N matches, or for the
//           first match to be minimized; exit code 1 on timeout
//   client  the first match's client area on screen: x y width height
//   cover   covers the first match with a window of this program's own for
//           SECONDS (default 1), then takes it away
// These read the rectangle X Y W H of the first match's client area from the
// screen until it shows what they wait for, for up to SECONDS; exit code 1 on
// timeout, with what was seen last:
//   colours SECONDS X Y W H RRGGBB...
//           until each of the colours has shown there at least once
//   shows SECONDS X Y W H <N|>N PICTURE...
//           until fewer (<) or more (>) than N pixels differ from the same
//           rectangle of one of the pictures (files of images_games beside
//           bin/), and prints that picture; a pixel differs when one of its
//           channels differs by more than 20, ImageMagick's -fuzz 8%
//   still SECONDS MS X Y W H
//           until the rectangle has stayed the same for MS milliseconds
// window_probe manifest EXE
//   prints the application manifest of EXE (resource 1 of type 24) after
//   checking that Windows builds an activation context from it; exit code 1
//   when it is missing or refused
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
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

// Calls look every 30 ms, however long a look takes, until it returns true or
// the seconds have passed. 30 ms is a tick and a half of the game's 20 ms
// timer and far below its slower periods, so the looks meet every phase of
// what the game draws.
bool PollUntil(double seconds, const std::function<bool()>& look) {
    const DWORD start = GetTickCount();
    DWORD next = start;
    while (!look()) {
        const DWORD now = GetTickCount();
        if (now - start > seconds * 1000) return false;
        next += 30;
        if (static_cast<LONG>(next - now) > 0)
            Sleep(next - now);
        else
            next = now;
    }
    return true;
}

// The rectangle r (x y w h) of a device context, one 0xRRGGBB per pixel, row
// by row; empty when it cannot be read.
using Pixels = std::vector<uint32_t>;
Pixels ReadPixels(HDC source, const int* r) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), r[2], -r[3], 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    Pixels pixels;
    if (bits && BitBlt(memory, 0, 0, r[2], r[3], source, r[0], r[1], SRCCOPY)) {
        GdiFlush();
        const uint32_t* first = static_cast<const uint32_t*>(bits);
        pixels.assign(first, first + static_cast<ptrdiff_t>(r[2]) * r[3]);
        for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
    }
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    return pixels;
}

// What the screen shows in the rectangle r of the first match's client area.
Pixels ReadClient(const int* r) {
    std::vector<HWND> found = Matches();
    if (found.empty()) return {};
    POINT origin{r[0], r[1]};
    ClientToScreen(found.front(), &origin);
    const int onScreen[4] = {origin.x, origin.y, r[2], r[3]};
    HDC screen = GetDC(nullptr);
    Pixels pixels = ReadPixels(screen, onScreen);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The rectangle r of a picture of images_games, the folder beside this
// program's bin/.
Pixels ReadPicture(const char* name, const int* r) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring file = path;
    file.erase(file.find_last_of(L'\\') + 1);
    file += L"..\\images_games\\";
    for (const char* c = name; *c; ++c) file += static_cast<wchar_t>(*c);
    HANDLE picture = LoadImageW(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (!picture) return {};
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, picture);
    Pixels pixels = ReadPixels(memory, r);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(picture);
    return pixels;
}

// Pixels of a that differ from b by more than 20 in one of their channels.
int Differing(const Pixels& a, const Pixels& b) {
    int count = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        auto channel = [&](int shift) {
            return std::abs(static_cast<int>((a[i] >> shift & 255) - (b[i] >> shift & 255)));
        };
        if (std::max({channel(0), channel(8), channel(16)}) > 20) ++count;
    }
    return count;
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
                     "usage: window_probe count|texts|close|wait|client|cover|colours|shows|still CAPTION ...\n"
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
    const double seconds = argc > 3 ? std::atof(argv[3]) : 20;
    if (command == "wait") {
        const std::string until = argc > 4 ? argv[4] : "";
        auto reached = [&] {
            std::vector<HWND> found = Matches();
            if (until == "iconic") return !found.empty() && IsIconic(found.front());
            return until.empty() ? !found.empty() : found.size() == std::strtoul(until.c_str(), nullptr, 10);
        };
        return PollUntil(seconds, reached) ? 0 : 1;
    }
    int rect[4] = {};
    const int firstRect = command == "still" ? 5 : 4, rest = firstRect + 4;
    for (int i = 0; i < 4 && firstRect + i < argc; ++i) rect[i] = std::atoi(argv[firstRect + i]);
    if (command == "colours") {
        std::vector<uint32_t> unseen;
        for (int i = rest; i < argc; ++i) unseen.push_back(std::strtoul(argv[i], nullptr, 16));
        auto allSeen = [&] {
            Pixels now = ReadClient(rect);
            std::erase_if(unseen,
                          [&](uint32_t colour) { return std::find(now.begin(), now.end(), colour) != now.end(); });
            return unseen.empty();
        };
        const bool seen = PollUntil(seconds, allSeen);
        for (uint32_t colour : unseen) std::printf("%06x never showed\n", colour);
        return seen ? 0 : 1;
    }
    if (command == "shows" && argc > rest + 1) {
        const char sense = argv[rest][0];
        const int limit = std::atoi(argv[rest] + 1);
        std::vector<Pixels> pictures;
        for (int i = rest + 1; i < argc; ++i) {
            pictures.push_back(ReadPicture(argv[i], rect));
            if (pictures.back().empty()) {
                std::fprintf(stderr, "cannot read the picture %s\n", argv[i]);
                return 2;
            }
        }
        std::vector<int> counts(pictures.size(), -1);
        size_t shown = 0;
        auto oneShown = [&] {
            Pixels now = ReadClient(rect);
            for (shown = 0; shown < pictures.size() && now.size() == pictures[shown].size(); ++shown) {
                counts[shown] = Differing(now, pictures[shown]);
                if (sense == '<' ? counts[shown] < limit : counts[shown] > limit) return true;
            }
            return false;
        };
        if (PollUntil(seconds, oneShown)) {
            std::printf("%s\n", argv[rest + 1 + shown]);
            return 0;
        }
        for (size_t i = 0; i < pictures.size(); ++i) std::printf("%s: %d differ\n", argv[rest + 1 + i], counts[i]);
        return 1;
    }
    if (command == "still" && argc > 4) {
        const DWORD span = std::strtoul(argv[4], nullptr, 10);
        Pixels last;
        DWORD since = 0;
        auto unchanged = [&] {
            Pixels now = ReadClient(rect);
            if (!now.empty() && now == last) return GetTickCount() - since >= span;
            last = now;
            since = GetTickCount();
            return false;
        };
        return PollUntil(seconds, unchanged) ? 0 : 1;
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
        DWORD until = GetTickCount() + static_cast<DWORD>(1000 * (argc > 3 ? seconds : 1.0));
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
