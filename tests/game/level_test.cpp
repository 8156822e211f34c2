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
    // "A" or "B" per rock, read from the frame range its animation cycles.
    std::string LineUp() {
        std::string letters;
        for (auto* rock : game->rocks) letters += rock->frame - 1 == 0 ? 'A' : rock->frame - 1 == 6 ? 'B' : '?';
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
        EXPECT_EQ(game->sprites.back(), game->ship);
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
        for (auto* diamond : game->diamonds) {
            EXPECT_GE(diamond->x, 1);
            EXPECT_LE(diamond->x, 750);
            EXPECT_GE(diamond->y, 51);
            EXPECT_LE(diamond->y, 550);
        }
    }
}

TEST_F(Levels, ARockAtTheBottomLimitIsDrawnThereAndWrapsOnlyBeyondIt) {
    StartGame();
    SpriteMeteorni* rock = game->rocks[0];
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

TEST_F(Levels, TheShipAndBRocksCycleTheirFrames) {
    StartGame();
    SpriteAnimazione* shipAnimation = game->animations.back();
    ASSERT_EQ(shipAnimation->sprite, game->ship);
    std::vector<int32_t> shipFrames;
    for (int i = 0; i < 10; ++i) {
        shipAnimation->Step();
        shipFrames.push_back(game->ship->frame - 1);
    }
    EXPECT_EQ(shipFrames, (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 0, 1, 2}));

    SpriteAnimazione* rockAnimation = game->animations[1];  // the second rock is a B rock
    ASSERT_EQ(rockAnimation->sprite, game->rocks[1]);
    EXPECT_EQ(game->rocks[1]->frame - 1, 6);
    std::vector<int32_t> rockFrames;
    for (int i = 0; i < 5; ++i) {
        rockAnimation->Step();
        rockFrames.push_back(game->rocks[1]->frame - 1);
    }
    EXPECT_EQ(rockFrames, (std::vector<int32_t>{7, 8, 9, 6, 7}));
}

TEST_F(Levels, ATakenDiamondStaysGoneWhenAPassingRockRepairsItsPlace) {
    StartGame();
    SpriteDiamante* diamond = game->diamonds[0];
    // Move the diamond to a clear spot, away from rocks, ship and other diamonds.
    for (auto* other : game->diamonds) other->onScreen = other == diamond;
    diamond->x = 600;
    diamond->y = 300;
    game->BeginFrame(false);
    game->PresentSprite(*diamond);
    game->EndFrame();
    COLORREF background = GetPixel(game->backBuffer->dc, 616, 316);
    // Draw the background picture's own pixel for comparison.
    HDC memory = CreateCompatibleDC(game->backBuffer->dc);
    HGDIOBJ old = SelectObject(memory, game->backgroundImage);
    COLORREF picture = GetPixel(memory, 616, 316);
    SelectObject(memory, old);
    DeleteDC(memory);
    EXPECT_NE(background, picture);  // the diamond is drawn there

    game->BeginFrame(false);
    game->PresentErase(*diamond);
    game->EndFrame();
    diamond->onScreen = false;

    SpriteMeteorni* rock = game->rocks[0];
    rock->x = 590;
    rock->y = 280;
    rock->speed = 6;
    game->ship->x = 0;
    for (int i = 0; i < 12; ++i) StepRock(0);  // across the diamond's place and beyond
    EXPECT_GT(rock->y, 340);
    EXPECT_EQ(GetPixel(game->backBuffer->dc, 616, 316), picture);
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
