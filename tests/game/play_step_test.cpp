// The play step: after every step the window shows exactly the picture
// composed on the back buffer, however many sprites moved, wrapped or were
// repaired in it; and a step makes no GDI objects.
#include "game_fixture.h"

#include "framework/gdi_guards.h"

using namespace GameTest;
using namespace Meteorni;

namespace {

class PlayStep : public GameTestBase {
protected:
    void SetUp() override {
        GameTestBase::SetUp();
        frames = TestSupport::NewDib(800, 2 * 600, &bits);
        reader = CreateCompatibleDC(nullptr);
        previous = SelectObject(reader, frames);
    }
    void TearDown() override {
        SelectObject(reader, previous);
        DeleteDC(reader);
        DeleteObject(frames);
        GameTestBase::TearDown();
    }

    // Pixels of the client area where the window and the back buffer differ:
    // the window's picture is read into the upper half of one bitmap, the
    // back buffer's into the lower half.
    int32_t Differing() {
        HDC window = GetDC(game->hwnd);
        BitBlt(reader, 0, 0, 800, 600, window, 0, 0, SRCCOPY);
        ReleaseDC(game->hwnd, window);
        BitBlt(reader, 0, 600, 800, 600, game->backBuffer->dc, 0, 0, SRCCOPY);
        GdiFlush();
        const uint32_t* composed = bits + 800 * 600;
        int32_t differing = 0;
        for (size_t i = 0; i < 800 * 600; ++i) differing += (bits[i] & 0xFFFFFF) != (composed[i] & 0xFFFFFF);
        return differing;
    }

    HBITMAP frames = nullptr;
    uint32_t* bits = nullptr;
    HDC reader = nullptr;
    HGDIOBJ previous = nullptr;

    // Steps of 20 ms, the arrow keys changing now and then, whole frames
    // compared after each.
    void RunSteps(int steps, const char* what) {
        const int32_t arrows[] = {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN};
        for (int step = 0; step < steps; ++step) {
            if (step % 40 == 0) KeyDown(arrows[(step / 40) % 4]);
            TickAfter(20);
            ASSERT_EQ(Differing(), 0) << what << ", step " << step << ", state " << game->state;
        }
    }
};

}  // namespace

TEST_F(PlayStep, EveryStepOfALevelLeavesTheBackBufferInTheWindow) {
    StartGame();
    // Level 1, the ship steered into a diamond: the diamond goes and the
    // score strip is drawn again.
    SpriteDiamante* diamond = game->diamonds.back().get();
    Place(*diamond, game->ship->x - 40, game->ship->y + 9);
    RunSteps(300, "level 1");
    EXPECT_FALSE(diamond->onScreen);
    EXPECT_GE(game->score, 50);

    // Level 60: every rock comes back at the top at a new place on every
    // step. The ship, out of the hit test, stays on screen and animated.
    game->level = 60;
    game->ResetGame();
    std::unique_ptr<SpritePlayer> ship = std::move(game->ship);
    RunSteps(300, "level 60");
    game->ship = std::move(ship);
}

TEST_F(PlayStep, StepsMakeNoGdiObjects) {
    StartGame();
    for (int32_t level : {1, 60}) {
        game->level = level;
        game->ResetGame();
        // Out of the hit test: no picture of a lost life is loaded.
        std::unique_ptr<SpritePlayer> ship = std::move(game->ship);
        int64_t made = Orditex::gdiObjectsMade;
        for (int step = 0; step < 200; ++step) TickAfter(20);
        EXPECT_EQ(Orditex::gdiObjectsMade, made) << "level " << level;
        game->ship = std::move(ship);
    }
}
