// 100,000 ticks of the real game with random keys and characters: pauses,
// level skips, lost lives and game overs with names typed into the dialog.
#include "game_fixture.h"

#include "support/gdi_support.h"

#include <psapi.h>

#include <random>
#include <regex>
#include <sstream>

using namespace GameTest;
using namespace Meteorni;

namespace {

struct Usage {
    DWORD gdiObjects;     // as the system counts them (0 where it does not, as under Wine)
    DWORD userObjects;    // the same for USER objects
    size_t gdiHeadroom;   // GDI objects the process can still make: exact everywhere
    int windows;          // windows of this thread, controls included
    SIZE_T privateBytes;  // private working set (0 where not reported, as under Wine)
    size_t heapBytes;     // bytes allocated on all of the process's heaps
};

// Bytes in use on every heap of the process: what the program has allocated
// and not freed, objects the system keeps for it included.
size_t HeapBytesInUse() {
    HANDLE heaps[256];
    DWORD count = GetProcessHeaps(256, heaps);
    size_t total = 0;
    for (DWORD i = 0; i < count && i < 256; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return total;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    EnumChildWindows(
        window,
        [](HWND, LPARAM c) -> BOOL {
            ++*reinterpret_cast<int*>(c);
            return TRUE;
        },
        count);
    return TRUE;
}

Usage Measure() {
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    int windows = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&windows));
    return Usage{GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                 GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS),
                 TestSupport::GdiHeadroom(),
                 windows,
                 memory.PrivateUsage,
                 HeapBytesInUse()};
}

std::vector<std::string> Lines(const std::string& content) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(content.substr(start));
            break;
        }
        lines.push_back(content.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

class Soak : public GameTestBase {};

}  // namespace

TEST_F(Soak, AHundredThousandTicksLeakNothingAndKeepTheTableValid) {
    std::mt19937 random(4242);
    auto chance = [&](int oneIn) { return random() % static_cast<unsigned>(oneIn) == 0; };
    const int32_t arrows[] = {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN};
    const char* names[] = {"anna", "zeno", "luca", "maria", "giovannibattista", "x"};

    int gameOvers = 0, levelsSkipped = 0, livesLost = 0, pauses = 0;
    bool measured = false;
    Usage warm{};
    int32_t previousLives = game->lives;
    // The picture cache grows by one bitmap per picture first shown; fill it
    // up front so that growth later can only be a leak.
    for (const char* picture :
         {"livello.bmp", "replay.bmp", "gameover.bmp", "player.bmp", "meteorne_notte.bmp", "diamante.bmp",
          "sanmartino2.bmp", "cattedrale.bmp", "chiesacerreto.bmp", "palazzogenio.bmp", "santuario.bmp"})
        ASSERT_NE(Picture(picture), nullptr) << picture;
    game->Tick();

    for (int tick = 0; tick < 100000; ++tick) {
        switch (game->state) {
            case Title:
                if (chance(50)) Type(chance(2) ? 'G' : 'g');
                break;
            case Playing:
                if (chance(8)) KeyDown(arrows[random() % 4]);
                if (chance(12)) KeyUp(arrows[random() % 4]);
                if (chance(900)) {
                    Type('P');
                    ++pauses;
                }
                if (chance(1500)) {
                    Type('N');
                    ++levelsSkipped;
                }
                if (chance(300)) Type(static_cast<char>('a' + random() % 26));
                break;
            case Paused:
                if (chance(40)) Type('p');
                break;
            case NameEntry: {
                ++gameOvers;
                if (chance(4)) {
                    SendMessageW(game->nameDialog->hwnd, WM_CLOSE, 0, 0);
                } else {
                    HWND box = game->nameDialog->nameBox->hwnd;
                    for (const char* c = names[random() % 6]; *c; ++c)
                        SendMessageW(box, WM_CHAR, static_cast<WPARAM>(*c), 0);
                    SendMessageW(box, WM_CHAR, VK_RETURN, 0);
                }
                Pump();
                ASSERT_EQ(game->state, ScoreSaved) << "tick " << tick;
                break;
            }
            case ScoreSaved:
                if (chance(10)) Type(static_cast<char>(' ' + random() % 90));
                break;
            default:
                break;
        }
        if (game->lives < previousLives) ++livesLost;
        previousLives = game->lives;

        TickAfter(20);
        if (tick % 64 == 0) Pump();

        // Measure once warmed up (every picture loaded, a game over seen), at
        // a quiet moment on the title screen.
        if (!measured && gameOvers >= 1 && tick > 20000 && game->state == Title) {
            warm = Measure();
            measured = true;
        }
    }
    // End on the title screen too, so that both measurements see the same objects.
    for (int i = 0; i < 20000 && game->state != Title; ++i) {
        if (game->state == NameEntry) {
            SendMessageW(game->nameDialog->hwnd, WM_CLOSE, 0, 0);
            Pump();
        }
        if (game->state == ScoreSaved || game->state == Paused) Type('p');
        if (game->state == Playing) {
            // Let the rocks finish the game.
            AimRockAtShip(0);
            StepRock(0);
        }
        TickAfter(1600);
    }
    ASSERT_EQ(game->state, Title);
    Pump();
    ASSERT_TRUE(measured);
    Usage end = Measure();

    EXPECT_GE(gameOvers, 3);
    EXPECT_GE(levelsSkipped, 5);
    EXPECT_GE(livesLost, 9);
    EXPECT_GE(pauses, 5);
    EXPECT_LE(end.gdiObjects, warm.gdiObjects);
    EXPECT_LE(end.userObjects, warm.userObjects);
    EXPECT_GE(end.gdiHeadroom, warm.gdiHeadroom);
    EXPECT_LE(end.windows, warm.windows);
    EXPECT_LT(end.privateBytes, warm.privateBytes + 2 * 1024 * 1024)
        << "private working set grew from " << warm.privateBytes << " to " << end.privateBytes;
    EXPECT_LT(end.heapBytes, warm.heapBytes + 256 * 1024)
        << "heap use grew from " << warm.heapBytes << " to " << end.heapBytes;

    std::vector<std::string> lines = Lines(ReadBytes(ScoreFilePath(appData)));
    ASSERT_FALSE(lines.empty());
    EXPECT_LE(lines.size(), 10u);
    const std::regex wellFormed("[0-9]{8} [A-Z ]{12,} Level [0-9]+");
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(std::regex_match(lines[i], wellFormed)) << "line " << i << ": " << lines[i];
        if (i > 0) {
            EXPECT_GE(lines[i - 1], lines[i]) << "not sorted at line " << i;
        }
    }
}
