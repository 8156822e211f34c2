// Building levels and the game's sprites: line-ups, random ranges, rock
// wrapping, frame orders, repairs.
#include "game_fixture.h"

using namespace GameTest;
using namespace Meteorni;

namespace {

class Levels : public GameTestBase {
protected:
    void BuildLevel(int32_t number) {
        game->level = number;
        game->ResetGame();
        ASSERT_EQ(game->state, Playing);
    }
    // Pixels of the sprite's current frame, other than the transparent black,
    // that the surface does not show at the sprite's place.
    int32_t HiddenPixels(Orditex::Sprite& sprite, HDC surface) {
        RECT cell{0, (sprite.frame - 1) * sprite.height, sprite.width, sprite.frame * sprite.height};
        std::vector<uint32_t> frame = PicturePixels(sprite.image, cell);
        std::vector<uint32_t> shown =
            Pixels(surface, RECT{sprite.x, sprite.y, sprite.x + sprite.width, sprite.y + sprite.height});
        int32_t hidden = 0;
        for (size_t i = 0; i < frame.size(); ++i)
            if (frame[i] != 0 && frame[i] != shown[i]) ++hidden;
        return hidden;
    }
    // "A" or "B" per rock, read from the frame range its animation cycles.
    std::string LineUp() {
        std::string letters;
        for (const auto& rock : game->rocks) letters += rock->frame - 1 == 0 ? 'A' : rock->frame - 1 == 6 ? 'B' : '?';
        return letters;
    }
};

}  // namespace

TEST_F(Levels, EachLevelTypeHasItsLineUpAndBackground) {
    StartGame();
    struct Expected {
        int32_t level;
        const char* lineUp;
        const char* background;
    };
    const Expected levels[] = {
        {1, "ABAABABABABA", "sanmartino2.bmp"},   {2, "ABAABAABBABA", "cattedrale.bmp"},
        {3, "ABAABABABABA", "chiesacerreto.bmp"}, {4, "ABAABABAABBA", "palazzogenio.bmp"},
        {5, "ABAABABABABBA", "santuario.bmp"},    {6, "ABAABABABABA", "sanmartino2.bmp"},
        {10, "ABAABABABABBA", "santuario.bmp"},   {11, "ABAABABABABA", "sanmartino2.bmp"},
    };
    for (const Expected& e : levels) {
        BuildLevel(e.level);
        EXPECT_EQ(LineUp(), e.lineUp) << "level " << e.level;
        EXPECT_EQ(game->backgroundImage, Picture(e.background)) << "level " << e.level;
        EXPECT_EQ(game->diamonds.size(), 10u);
        EXPECT_EQ(game->movers.size(), game->rocks.size());
        EXPECT_EQ(game->animations.size(), game->rocks.size() + 1);
        // Rocks, then diamonds, then the ship: the drawing order of repairs.
        ASSERT_EQ(game->sprites.size(), game->rocks.size() + 11);
        EXPECT_EQ(game->sprites.back(), game->ship.get());
    }
}

TEST_F(Levels, SpeedsAndStepIntervalsFollowTheLevel) {
    StartGame();
    struct Expected {
        int32_t level, speedLow, speedHigh, intervalLow, intervalHigh;
    };
    const Expected levels[] = {{1, 5, 8, 54, 104}, {10, 14, 17, 45, 95}, {55, 59, 62, 0, 50}, {60, 600, 600, -5, 45}};
    for (const Expected& e : levels) {
        int32_t lowestSpeed = 1000, highestSpeed = -1, lowestInterval = 1000, highestInterval = -1000;
        for (int build = 0; build < 40; ++build) {
            BuildLevel(e.level);
            for (size_t i = 0; i < game->rocks.size(); ++i) {
                lowestSpeed = std::min(lowestSpeed, game->rocks[i]->speed);
                highestSpeed = std::max(highestSpeed, game->rocks[i]->speed);
                lowestInterval = std::min(lowestInterval, game->movers[i]->interval);
                highestInterval = std::max(highestInterval, game->movers[i]->interval);
                EXPECT_GE(game->rocks[i]->x, 1);
                EXPECT_LE(game->rocks[i]->x, 755);
                EXPECT_EQ(game->rocks[i]->y, 20);
            }
        }
        EXPECT_EQ(lowestSpeed, e.speedLow) << "level " << e.level;
        EXPECT_EQ(highestSpeed, e.speedHigh) << "level " << e.level;
        EXPECT_EQ(lowestInterval, e.intervalLow) << "level " << e.level;
        EXPECT_EQ(highestInterval, e.intervalHigh) << "level " << e.level;
    }
}

TEST_F(Levels, DiamondsLieInsideThePlayArea) {
    StartGame();
    for (int build = 0; build < 30; ++build) {
        BuildLevel(1);
        for (const auto& diamond : game->diamonds) {
            EXPECT_GE(diamond->x, 1);
            EXPECT_LE(diamond->x, 750);
            EXPECT_GE(diamond->y, 51);
            EXPECT_LE(diamond->y, 550);
        }
    }
}

TEST_F(Levels, ARockAtTheBottomLimitIsDrawnThereAndWrapsOnlyBeyondIt) {
    StartGame();
    SpriteMeteorni* rock = game->rocks[0].get();
    ASSERT_EQ(rock->bottomLimit, 537);
    ASSERT_EQ(rock->xRange, 755);
    game->ship->x = 0;  // out of the way
    rock->x = 700;
    rock->y = rock->bottomLimit - rock->speed;
    StepRock(0);
    EXPECT_EQ(rock->y, 537);
    EXPECT_EQ(rock->lastY, 537);
    EXPECT_EQ(rock->x, 700);
    for (int wrap = 0; wrap < 200; ++wrap) {
        rock->y = rock->bottomLimit - rock->speed + 1;
        StepRock(0);
        EXPECT_EQ(rock->y, 20);
        EXPECT_GE(rock->x, 1);
        EXPECT_LE(rock->x, 755);
    }
}

TEST_F(Levels, RocksAtLevelSixtyComeBackAtTheTopOnEveryStep) {
    StartGame();
    BuildLevel(60);
    game->ship->x = 0;
    game->ship->y = 300;
    for (size_t i = 0; i < game->rocks.size(); ++i) {
        StepRock(i);
        if (game->state != Playing) break;
        EXPECT_EQ(game->rocks[i]->y, 20);
    }
}

TEST_F(Levels, TheShipChangesFrameEvery100MsAndTheRocksEvery200Ms) {
    StartGame();
    for (const auto& mover : game->movers) mover->elapsed = -1000000;
    using Frames = std::vector<int32_t>;  // the ship, an A rock, a B rock
    auto frames = [&] { return Frames{game->ship->frame - 1, game->rocks[0]->frame - 1, game->rocks[1]->frame - 1}; };
    TickAfter(99);
    EXPECT_EQ(frames(), (Frames{0, 0, 6}));
    TickAfter(1);
    EXPECT_EQ(frames(), (Frames{1, 0, 6}));
    TickAfter(99);
    EXPECT_EQ(frames(), (Frames{1, 0, 6}));
    TickAfter(1);
    EXPECT_EQ(frames(), (Frames{2, 1, 7}));
    // One step each per tick of 200 ms: frames 0 to 7, 0 to 4 and 6 to 9 in turn.
    std::vector<Frames> seen;
    for (int tick = 0; tick < 8; ++tick) {
        TickAfter(200);
        seen.push_back(frames());
    }
    EXPECT_EQ(seen, (std::vector<Frames>{
                        {3, 2, 8}, {4, 3, 9}, {5, 4, 6}, {6, 0, 7}, {7, 1, 8}, {0, 2, 9}, {1, 3, 6}, {2, 4, 7}}));
}

TEST_F(Levels, RocksFallBehindTheShipAndTheDiamondsAndATakenDiamondStaysGone) {
    StartGame();
    SpriteDiamante* diamond = game->diamonds[0].get();
    for (const auto& other : game->diamonds) other->onScreen = other.get() == diamond;
    Place(*diamond, 600, 300);
    // One rock comes down beside the ship, over its left wing (the two boxes
    // of the hit test only touch), another over the diamond.
    Place(*game->ship, 375, 300);
    SpriteMeteorni* onShip = game->rocks[0].get();
    SpriteMeteorni* onDiamond = game->rocks[1].get();
    onShip->x = 350;
    onShip->y = 305 - 20;
    onDiamond->x = 595;
    onDiamond->y = 290 - 20;
    onShip->speed = onDiamond->speed = 20;
    StepRock(0);
    StepRock(1);
    ASSERT_EQ(game->state, Playing);
    HDC window = GetDC(game->hwnd);
    for (Orditex::Sprite* onTop : std::initializer_list<Orditex::Sprite*>{game->ship.get(), diamond}) {
        EXPECT_EQ(HiddenPixels(*onTop, game->backBuffer->dc), 0) << "on the back buffer";
        EXPECT_EQ(HiddenPixels(*onTop, window), 0) << "in the window";
    }
    ReleaseDC(game->hwnd, window);

    game->BeginFrame(false);
    game->PresentErase(*diamond);
    game->EndFrame();
    diamond->onScreen = false;
    for (int i = 0; i < 5; ++i) StepRock(1);  // across the taken diamond's place and beyond
    EXPECT_GT(onDiamond->y, 340);
    const RECT place{600, 300, 632, 332};
    EXPECT_EQ(Pixels(game->backBuffer->dc, place), PicturePixels(game->backgroundImage, place));
}

TEST_F(Levels, CreateSpriteKnowsOnlyTheThreeKinds) {
    StartGame();
    SpriteInfo odd = game->shipInfo;
    size_t registered = game->sprites.size();
    odd.kind = "Player";
    EXPECT_EQ(odd.CreateSprite(*game), nullptr);
    odd.kind = "";
    EXPECT_EQ(odd.CreateSprite(*game), nullptr);
    EXPECT_EQ(game->sprites.size(), registered);
}
