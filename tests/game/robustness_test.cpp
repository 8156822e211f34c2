// What a real machine throws at the game: a clock set backwards, a minimized
// window, and being closed in every state.
#include "game_fixture.h"

#include <string_view>

using namespace GameTest;
using namespace Meteorni;

namespace {

class Robustness : public GameTestBase {
protected:
    int32_t TotalFall() {
        int32_t total = 0;
        for (const auto& rock : game->rocks) total += rock->y;
        return total;
    }
    int CountWindowsCaptioned(const wchar_t* caption) {
        struct Search {
            const wchar_t* caption;
            int count;
        } search{caption, 0};
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                if (IsWindowVisible(window) && TestSupport::WindowText(window) == s->caption) ++s->count;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.count;
    }
    // A new game form started from a copy of the pictures with one damaged;
    // the working folder stays there until LeaveDamagedCopy.
    HWND StartFromDamagedCopy(const std::string& picture) {
        GetCurrentDirectoryA(MAX_PATH, buildFolder);
        SetCurrentDirectoryA(DamagedPictureCopy(damagedCopy, picture).c_str());
        delete game;
        game = new FormMeteorni(GetModuleHandleW(nullptr), "Meteorni test");
        return game->hwnd;
    }
    // Back in the build folder: the damaged picture was refused with the
    // message, and the game window is gone.
    void LeaveDamagedCopy(HWND window) {
        SetCurrentDirectoryA(buildFolder);
        Pump();
        ASSERT_FALSE(TestSupport::CapturedErrorBoxes().empty());
        EXPECT_EQ(TestSupport::CapturedErrorBoxes()[0].text,
                  "Immagine corrotta o dannegiata. Ripristinare la cartella immagine");
        EXPECT_FALSE(IsWindow(window));
    }
    char buildFolder[MAX_PATH] = {};
    TestSupport::TemporaryFolder damagedCopy{L"damaged"};
    // Every game form of these tests, the fixture's included, asks for the
    // finer timer resolution through it.
    TestSupport::ResolutionCounter resolution;
};

}  // namespace

TEST_F(Robustness, AClockSetBackwardsDoesNotFreezePlay) {
    StartGame();
    TickAfter(20);
    int32_t before = TotalFall();
    TickAfter(-3600 * 1000);  // end of daylight saving time: an hour back
    EXPECT_EQ(TotalFall(), before);
    for (int i = 0; i < 20; ++i) TickAfter(20);
    EXPECT_NE(TotalFall(), before);  // play goes on at once
}

TEST_F(Robustness, AClockSetBackwardsDoesNotHoldTheInterludePicture) {
    StartGame();
    Type('N');
    TickAfter(20);  // the wake-up time is set 1.5 s ahead
    TickAfter(500);
    TickAfter(-3600 * 1000);
    EXPECT_EQ(game->state, Interlude);
    for (int i = 0; i < 55; ++i) TickAfter(20);  // 1.1 s of real time more
    EXPECT_EQ(game->state, Playing);
    EXPECT_EQ(game->level, 2);
}

TEST_F(Robustness, AClockJumpingForwardRunsEachActionOnce) {
    StartGame();
    int32_t before = TotalFall();
    TickAfter(40LL * 24 * 3600 * 1000);  // weeks ahead: more than an int32 of milliseconds
    int32_t fallen = TotalFall() - before;
    int32_t oneStepEach = 0;
    for (const auto& rock : game->rocks) oneStepEach += rock->speed;
    EXPECT_EQ(fallen, oneStepEach);  // no rock is near the bottom or the ship yet
    EXPECT_EQ(game->state, Playing);
}

TEST_F(Robustness, StartingAGameWhileMinimizedUsesTheNominalPlayArea) {
    game->Tick();
    // The window manager minimizes and restores in its own time.
    auto clientWidth = [this] {
        RECT client{};
        GetClientRect(game->hwnd, &client);
        return client.right;
    };
    ShowWindow(game->hwnd, SW_MINIMIZE);
    EXPECT_TRUE(TestSupport::PumpUntil([&] { return clientWidth() < 800; }, 10000, TestSupport::Ticks::Drop));
    Type('G');
    ASSERT_EQ(game->state, Playing);
    EXPECT_EQ(game->shipInfo.areaWidth, 800);
    EXPECT_EQ(game->shipInfo.areaHeight, 600);
    EXPECT_EQ(game->rocks[0]->xRange, 755);
    EXPECT_EQ(game->ship->x, 375);
    for (const auto& diamond : game->diamonds) {
        EXPECT_GE(diamond->y, 51);
        EXPECT_LE(diamond->y, 550);
    }
    for (int i = 0; i < 50; ++i) TickAfter(20);
    ShowWindow(game->hwnd, SW_RESTORE);
    EXPECT_TRUE(TestSupport::PumpUntil([&] { return clientWidth() == 800; }, 10000, TestSupport::Ticks::Drop))
        << "client width " << clientWidth();
    for (int i = 0; i < 5; ++i) TickAfter(20);
    EXPECT_EQ(game->state, Playing);
}

TEST_F(Robustness, ClosingInAnyStateTakesTheWindowAndStopsTheTicks) {
    for (int32_t state : {Title, Playing, Paused, Interlude}) {
        for (std::string_view way : {"close box", "Alt+F4", "Esci", "taskbar"}) {
            delete game;
            EXPECT_EQ(resolution.ends, resolution.begins);
            int started = resolution.begins;
            game = new FormMeteorni(GetModuleHandleW(nullptr), "Meteorni test");
            EXPECT_EQ(resolution.begins, started + 1);
            game->Tick();
            if (state != Title) Type('G');
            if (state == Paused) Type('P');
            if (state == Interlude) Type('N');
            TickAfter(20);
            ASSERT_EQ(game->state, state);
            HWND window = game->hwnd;
            if (way == "close box") SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            if (way == "Alt+F4") SendMessageW(window, WM_SYSKEYDOWN, VK_F4, KF_ALTDOWN << 16);
            if (way == "Esci") SendMessageW(window, WM_COMMAND, MAKEWPARAM(game->itemExit->id, 0), 0);
            if (way == "taskbar") SendMessageW(window, WM_CLOSE, 0, 0);
            Pump();
            EXPECT_FALSE(IsWindow(window)) << "state " << state << " by " << way;
            EXPECT_FALSE(game->timer->running) << "state " << state << " by " << way;
            // Given back as the window closed, not left to the form's end.
            EXPECT_EQ(resolution.ends, started + 1) << "state " << state << " by " << way;
        }
    }
}

TEST_F(Robustness, ClosingDuringNameEntrySavesOnceAndLeavesNoDialog) {
    ReachNameEntry();
    HWND dialog = game->nameDialog->hwnd;
    SendMessageW(game->hwnd, WM_CLOSE, 0, 0);  // e.g. from the taskbar
    Pump();
    EXPECT_EQ(resolution.ends, 1);
    delete game;
    game = nullptr;
    Pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(CountWindowsCaptioned(L"Classifica"), 0);
    EXPECT_EQ(ReadBytes(ScoreFilePath(appData)), "00000000              Level 1\r\n");
}

TEST_F(Robustness, ADamagedPictureClosesTheGameWithTheMessage) {
    HWND window = StartFromDamagedCopy("player.bmp");
    game->Tick();
    Type('G');
    LeaveDamagedCopy(window);
}

TEST_F(Robustness, ADamagedGameOverPictureClosesTheGameAndFilesNothing) {
    HWND window = StartFromDamagedCopy("gameover.bmp");
    StartGame();
    LoseAllLives();
    LeaveDamagedCopy(window);
    EXPECT_EQ(game->nameDialog, nullptr);
    EXPECT_EQ(CountWindowsCaptioned(L"Classifica"), 0);
    delete game;
    game = nullptr;
    Pump();
    EXPECT_FALSE(Orditex::FileExists(ScoreFilePath(appData))) << ReadBytes(ScoreFilePath(appData));
}
