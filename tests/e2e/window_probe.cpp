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
// window_probe chase CAPTION SECONDS UNTIL PICTURE...
//   plays the game in the first match as a player who wants to be hit: while
//   the window shows one of the level pictures (files of images_games) with
//   the level drawn on it, holds the arrow key that flies the ship into the
//   nearest rock. Stops, with every key released, once a window captioned
//   UNTIL shows; exit code 1 when none has within SECONDS
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

struct Search {
    const std::wstring& caption;
    bool prefix;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM data) {
    if (!IsWindowVisible(window)) return TRUE;
    auto* search = reinterpret_cast<Search*>(data);
    wchar_t title[512] = {};
    GetWindowTextW(window, title, 512);
    std::wstring caption = title;
    bool match =
        search->prefix ? caption.compare(0, search->caption.size(), search->caption) == 0 : caption == search->caption;
    if (match) search->found.push_back(window);
    return TRUE;
}

// The visible top-level windows captioned exactly so, or starting so.
std::vector<HWND> Matches(const std::wstring& caption, bool startsWith) {
    Search search{caption, startsWith, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The windows the command's CAPTION matches.
std::vector<HWND> Matches() {
    return Matches(wanted, prefix);
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

// Whether two pixels differ by more than 20 in one of their channels.
bool Differs(uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((a >> shift & 255) - (b >> shift & 255))) > 20) return true;
    return false;
}

// Pixels of a that differ from b.
int Differing(const Pixels& a, const Pixels& b) {
    int count = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) count += Differs(a[i], b[i]);
    return count;
}

// Presses or releases one of the arrow keys, as the keyboard would.
void Key(WORD key, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = KEYEVENTF_EXTENDEDKEY | (down ? 0 : KEYEVENTF_KEYUP);
    SendInput(1, &input, sizeof input);
}

// Flies the ship into the nearest rock until a window captioned until shows.
// The ship is where its right wing tip is: the only pixels of the colour
// 3cdc5a in the game's pictures, 45 pixels right of and 31 below the ship's
// corner. A pixel that is not the level's picture and changed within the last
// 400 ms belongs to something moving: a rock, or the ship (its flame
// flickers); diamonds stand still and are left out. The play area is seen in
// cells of 5 x 5 pixels, and touching moving cells outside the ship make one
// rock. A look on another picture (between levels, after a lost life) lets
// the keys go.
int Chase(double seconds, const std::wstring& until, const std::vector<Pixels>& levels) {
    constexpr int width = 800, height = 600, top = 25, shipSize = 50, tipX = 45, tipY = 31;
    static constexpr int cell = 5;
    constexpr int columns = width / cell, rows = height / cell;
    const int whole[4] = {0, 0, width, height};
    WORD held = 0;
    auto hold = [&](WORD key) {
        if (key == held) return;
        if (held) Key(held, false);
        if (key) Key(key, true);
        held = key;
    };
    Pixels last;
    std::vector<DWORD> changed(static_cast<size_t>(width) * height, 0);
    auto look = [&] {
        if (!Matches(until, false).empty()) return true;
        Pixels now = ReadClient(whole);
        if (now.size() != changed.size()) return false;
        const DWORD when = GetTickCount();
        for (size_t i = 0; i < now.size(); ++i)
            if (last.empty() || now[i] != last[i]) changed[i] = when;
        last = now;
        // The level picture in view: the one that most sampled pixels match.
        const Pixels* level = nullptr;
        int fewest = 0, sampled = 0;
        for (const Pixels& picture : levels) {
            int differing = 0;
            sampled = 0;
            for (size_t i = 0; i < now.size(); i += 97, ++sampled) differing += Differs(now[i], picture[i]);
            if (!level || differing < fewest) level = &picture, fewest = differing;
        }
        const auto tip = std::find(now.begin() + static_cast<ptrdiff_t>(top) * width, now.end(), 0x3cdc5aU);
        if (!level || fewest * 3 > sampled || tip == now.end()) {
            hold(0);
            return false;
        }
        const int shipX = static_cast<int>(tip - now.begin()) % width - tipX;
        const int shipY = static_cast<int>(tip - now.begin()) / width - tipY;
        std::vector<int> thing(static_cast<size_t>(columns) * rows, 0);  // 0 nothing, -1 moving, n > 0 rock n
        for (int y = top; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const size_t i = static_cast<size_t>(y) * width + x;
                const bool ship = x >= shipX && x < shipX + shipSize && y >= shipY && y < shipY + shipSize;
                if (!ship && when - changed[i] < 400 && Differs(now[i], (*level)[i]))
                    thing[(y / cell) * columns + x / cell] = -1;
            }
        struct Box {
            int left, top, right, bottom;
        };
        std::vector<Box> rocks;
        for (int start = 0; start < columns * rows; ++start) {
            if (thing[start] != -1) continue;
            rocks.push_back({columns, rows, -1, -1});
            Box& box = rocks.back();
            std::vector<int> todo{start};
            thing[start] = static_cast<int>(rocks.size());
            while (!todo.empty()) {
                const int c = todo.back(), cx = c % columns, cy = c / columns;
                todo.pop_back();
                box = {std::min(box.left, cx), std::min(box.top, cy), std::max(box.right, cx),
                       std::max(box.bottom, cy)};
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = cx + dx, ny = cy + dy;
                        if (nx < 0 || ny < 0 || nx >= columns || ny >= rows || thing[ny * columns + nx] != -1) continue;
                        thing[ny * columns + nx] = static_cast<int>(rocks.size());
                        todo.push_back(ny * columns + nx);
                    }
            }
        }
        // The nearest rock that is not yet past the ship, else the nearest.
        const int middleX = shipX + shipSize / 2, middleY = shipY + shipSize / 2;
        auto cost = [&](const Box& box) {
            const int x = (box.left + box.right + 1) * cell / 2, y = (box.top + box.bottom + 1) * cell / 2;
            return std::abs(x - middleX) + std::abs(y - middleY) + (y > middleY ? 1000 : 0);
        };
        const Box* rock = nullptr;
        for (const Box& box : rocks)
            if (!rock || cost(box) < cost(*rock)) rock = &box;
        if (!rock) {
            hold(0);
            return false;
        }
        const int toX = (rock->left + rock->right + 1) * cell / 2 - middleX;
        const int toY = (rock->top + rock->bottom + 1) * cell / 2 - middleY;
        // The game follows the last key pressed: first under the rock, then up to it.
        hold(toX < -6 ? VK_LEFT : toX > 6 ? VK_RIGHT : toY < -20 ? VK_UP : toY > 20 ? VK_DOWN : 0);
        return false;
    };
    const bool done = PollUntil(seconds, look);
    hold(0);
    return done ? 0 : 1;
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
                     "usage: window_probe count|texts|close|wait|client|cover|colours|shows|still|chase CAPTION ...\n"
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
    if (command == "chase" && argc > 5) {
        std::vector<Pixels> levels;
        const int whole[4] = {0, 0, 800, 600};
        for (int i = 5; i < argc; ++i) {
            levels.push_back(ReadPicture(argv[i], whole));
            if (levels.back().empty()) {
                std::fprintf(stderr, "cannot read the picture %s\n", argv[i]);
                return 2;
            }
        }
        return Chase(seconds, wideArgs[4], levels);
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
